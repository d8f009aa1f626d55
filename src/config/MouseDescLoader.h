#pragma once
// Loading of the mouse description from cfg.ini: section MS, then the sensor sections
// SENSOR_1..SENSOR_10, then the current sensor. Problems are reported by message box and
// loading goes on with the default or the values read so far.
#include <string>

#include "config/GlobalVar.h"
#include "config/IniFile.h"

// Section MS with the sensor sections; var.MsFw selects the controller variant. Also reads
// [KB] VID and PID when the mouse carries a keyboard part (into var.Dev.Kb).
void LoadMsSection(const CIniFile& ini, CGlobalVar& var);

// Sensor section SENSOR_n (n = 1 to 10) into var.Dev.Ms.SensorCfgs[n - 1]; may change the
// sensor's entry of the sensor table. Uses the [MS] values already loaded.
void LoadSensorSection(const CIniFile& ini, CGlobalVar& var, int n);
