#pragma once
// The devices a velkinctl command talks to: the hidraw nodes, or the simulated devices of
// --simulate, with the --trace sink on either.
#include "cli/CliContext.h"

class CSimBackend;

// Loads the installation and installs the back-end and trace the options ask for. Runs
// once per process; later calls return at once.
void PrepareDevices(CCliContext& ctx);
// Detaches the trace and the back-end again (the simulated devices keep their state).
void ReleaseDevices();
// Whether --simulate was given, and its devices (null without --simulate). Valid after
// parsing.
bool SimulationRequested();
CSimBackend* SimulatedDevices();

// apply and reset (ApplyCommands.cpp).
void RegisterApplyCommands(CLI::App& app, CCliContext& ctx);
// sim-state and the global --sim-state-out option (SimStateCommand.cpp).
void RegisterSimStateCommand(CLI::App& app, CCliContext& ctx);
// Writes the simulated devices' state where --sim-state-out asks, after the command ran
// with exit status nStatus. Returns the final exit status (2 when the state could not be
// written).
int WriteSimStateAfterCommand(CCliContext& ctx, int nStatus);
