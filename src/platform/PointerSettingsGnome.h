#pragma once
// Pointer settings of a GNOME desktop, through the gsettings tool (schema
// org.gnome.desktop.peripherals.mouse): double-click time, speed (-1..1, from the 1..20
// scale with 10 as the middle) and the acceleration profile ("adaptive" for enhanced
// precision, "flat" without). Wheel lines and trails have no GNOME setting.
#include <string>
#include <vector>

#include "platform/PointerSettings.h"

// Runs a program with arguments (no shell); its exit status and what it printed.
class ICommandRunner {
public:
    virtual ~ICommandRunner() = default;
    virtual int Run(const std::vector<std::string>& vArgs, std::string& strOutput) = 0;
};

class CGnomePointerSettings : public IPointerSettings {
public:
    // pRunner null: the real processes.
    explicit CGnomePointerSettings(ICommandRunner* pRunner = nullptr);
    bool Supported(EPointerKey eKey) override;
    bool Get(EPointerKey eKey, PointerValue& value) override;
    bool Set(EPointerKey eKey, const PointerValue& value) override;

private:
    bool Usable();
    int m_nUsable = -1; // -1 not yet checked
    ICommandRunner* m_pRunner;
};

// gsettings values and the program's numbers; false for text that is not a value.
bool ParseGnomeSpeed(const std::string& str, int& nSpeed);
std::string FormatGnomeSpeed(int nSpeed);
