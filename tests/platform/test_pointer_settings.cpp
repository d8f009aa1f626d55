// The GNOME pointer back-end: what it runs, how it reads the values back, and that a
// desktop without settings storage counts as none.
#include <gtest/gtest.h>

#include <map>

#include "platform/PointerSettingsGnome.h"

namespace {

class CFakeRunner : public ICommandRunner {
public:
    int Run(const std::vector<std::string>& vArgs, std::string& strOut) override {
        std::string s;
        for (const std::string& a : vArgs)
            s += (s.empty() ? "" : " ") + a;
        m_vRuns.push_back(s);
        auto it = m_mapReplies.find(s);
        if (it == m_mapReplies.end())
            return 1;
        strOut = it->second;
        return 0;
    }
    std::map<std::string, std::string> m_mapReplies;
    std::vector<std::string> m_vRuns;
};

const std::string kGet = "gsettings get org.gnome.desktop.peripherals.mouse ";
const std::string kSet = "gsettings set org.gnome.desktop.peripherals.mouse ";

TEST(GnomePointerSettings, ReadsAndWritesTheMouseSchema) {
    CFakeRunner run;
    run.m_mapReplies[kGet + "double-click"] = "int32 400\n";
    run.m_mapReplies[kGet + "speed"] = "0.40000000000000002\n";
    run.m_mapReplies[kGet + "accel-profile"] = "'adaptive'\n";
    run.m_mapReplies[kSet + "double-click 550"] = "";
    run.m_mapReplies[kSet + "speed -0.5"] = "";
    run.m_mapReplies[kSet + "accel-profile flat"] = "";
    CGnomePointerSettings gs(&run);
    PointerValue v;
    ASSERT_TRUE(gs.Get(EPointerKey::DoubleClickMs, v));
    EXPECT_EQ(v.n[0], 400);
    ASSERT_TRUE(gs.Get(EPointerKey::Speed, v));
    EXPECT_EQ(v.n[0], 14);
    ASSERT_TRUE(gs.Get(EPointerKey::Acceleration, v));
    EXPECT_TRUE((v == PointerValue{{6, 10, 1}}));
    EXPECT_TRUE(gs.Set(EPointerKey::DoubleClickMs, PointerValue{{550, 0, 0}}));
    EXPECT_TRUE(gs.Set(EPointerKey::Speed, PointerValue{{5, 0, 0}}));
    EXPECT_TRUE(gs.Set(EPointerKey::Acceleration, PointerValue{}));
    // No GNOME setting for these: reported, never run.
    for (EPointerKey e : {EPointerKey::WheelLines, EPointerKey::Trails}) {
        EXPECT_FALSE(gs.Supported(e));
        EXPECT_FALSE(gs.Set(e, PointerValue{{3, 0, 0}}));
    }
    for (const std::string& s : run.m_vRuns)
        EXPECT_EQ(s.find("wheel"), std::string::npos) << s;
}

TEST(GnomePointerSettings, WithoutStorageOrToolNothingIsSupported) {
    struct {
        const char* pszName;
        const char* pszReply; // null: the tool fails
    } kCases[] = {
        {"memory back-end",
         "GLib-GIO-Message: Using the 'memory' GSettings backend.  Your settings will not be "
         "saved\nint32 400\n"},
        {"no tool or schema", nullptr},
    };
    for (auto& c : kCases) {
        SCOPED_TRACE(c.pszName);
        CFakeRunner run;
        if (c.pszReply)
            run.m_mapReplies[kGet + "double-click"] = c.pszReply;
        CGnomePointerSettings gs(&run);
        EXPECT_FALSE(gs.Supported(EPointerKey::DoubleClickMs));
        EXPECT_FALSE(gs.Set(EPointerKey::Speed, PointerValue{{10, 0, 0}}));
        EXPECT_EQ(run.m_vRuns.size(), 1u); // checked once
    }
}

TEST(GnomePointerSettings, SpeedScale) {
    struct {
        const char* psz;
        bool bOk;
        int nSpeed;
    } kCases[] = {{"0", true, 10},   {"1", true, 20}, {"-1", true, 1}, {"-0.5", true, 5},
                  {"1.5", false, 0}, {"x", false, 0}, {"", false, 0},  {"nan", false, 0}};
    for (auto& c : kCases) {
        int n = 0;
        EXPECT_EQ(ParseGnomeSpeed(c.psz, n), c.bOk) << c.psz;
        if (c.bOk) {
            EXPECT_EQ(n, c.nSpeed) << c.psz;
        }
    }
    EXPECT_EQ(FormatGnomeSpeed(10), "0.0");
    EXPECT_EQ(FormatGnomeSpeed(20), "1.0");
    EXPECT_EQ(FormatGnomeSpeed(99), "1.0");
    EXPECT_EQ(FormatGnomeSpeed(1), "-0.9");
}

TEST(PointerSettings, DefaultBackEndSupportsNothing) {
    SetPointerSettings(nullptr);
    IPointerSettings& p = GetPointerSettings();
    PointerValue v;
    EXPECT_FALSE(p.Supported(EPointerKey::Speed));
    EXPECT_FALSE(p.Get(EPointerKey::Speed, v));
    EXPECT_FALSE(p.Set(EPointerKey::Speed, v));
}

} // namespace
