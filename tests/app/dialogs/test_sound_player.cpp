// The profile sound's player: the sound module beside the program is loaded on the first
// sound, and a missing module or file plays nothing without failing anything else.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "app/dialogs/SoundPlayer.h"
#include "config/Log.h"
#include "support/QtPump.h"
#include "support/TestDirs.h"

// Qt Multimedia's sample cache is a global object torn down after the application object
// is gone; objects its loading thread still had queued for deletion then stay allocated at
// exit, at times that depend on that thread. Those allocations are Qt's own, so the leak
// check leaves out stacks through Qt Multimedia and that thread's event loop. Telling them
// apart needs whole stacks (Qt is built without frame pointers). Everything allocated by
// this program's code, the sound module included, is still checked.
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __asan_default_options() {
    return "fast_unwind_on_malloc=0";
}
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libQt6Multimedia.so\n"
           "leak:QThread::exec\n";
}
#endif

namespace {

// A 50 ms mono 16-bit PCM WAV of silence.
std::string SilentWav() {
    const uint32_t nRate = 8000, nSamples = 400, nData = nSamples * 2;
    std::string s;
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            s.push_back(char(v >> (8 * i)));
    };
    auto u16 = [&](uint16_t v) {
        s.push_back(char(v));
        s.push_back(char(v >> 8));
    };
    s += "RIFF";
    u32(36 + nData);
    s += "WAVEfmt ";
    u32(16);
    u16(1);
    u16(1);
    u32(nRate);
    u32(nRate * 2);
    u16(2);
    u16(16);
    s += "data";
    u32(nData);
    s.append(nData, '\0');
    return s;
}

class SoundPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir.Write("beep.wav", SilentWav());
        LogSetup(2, m_dir.Path());
    }
    void TearDown() override { LogReset(); }
    std::string LogCaptured() const { return m_dir.Read("Log.txt"); }
    CTempDir m_dir;
};

// Qt's sample cache reads files on a thread of its own; each case waits for the read to end
// before it looks at the outcome.
bool ReadEnds(const ISoundPlayer& player) {
    return PumpUntil([&] { return !player.IsLoading(); }, 10000);
}

TEST_F(SoundPlayerTest, ModuleLoadsOnTheFirstSoundAndPlaysUntilStopped) {
    CSoundPlayer player(VELKIN_BINARY_DIR "/bin/" + std::string(CSoundPlayer::kModuleName));
    EXPECT_FALSE(player.IsPlaying());
    player.Stop(); // nothing loaded, nothing playing: nothing happens
    ASSERT_TRUE(player.PlayLooping(m_dir.Path() + "beep.wav")) << LogCaptured();
    ASSERT_TRUE(ReadEnds(player));
    EXPECT_TRUE(player.IsPlaying()); // the file was read and decoded
    // A path without a file leaves the sound that plays alone.
    EXPECT_FALSE(player.PlayLooping(m_dir.Path() + "none.wav"));
    EXPECT_FALSE(player.PlayLooping(m_dir.Path()));
    EXPECT_TRUE(player.IsPlaying());
    player.Stop();
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_TRUE(player.PlayLooping(m_dir.Path() + "beep.wav"));
    ASSERT_TRUE(ReadEnds(player));
    EXPECT_TRUE(player.IsPlaying());
    EXPECT_EQ(LogCaptured().find("Sound support not loaded"), std::string::npos);
}

TEST_F(SoundPlayerTest, FileThatIsNoSoundStopsCountingAsPlayingOnceRead) {
    m_dir.Write("text.wav", "this is no sound at all, only some words");
    CSoundPlayer player(VELKIN_BINARY_DIR "/bin/" + std::string(CSoundPlayer::kModuleName));
    // Whether the failure is known at once or only once read depends on Qt's loading thread.
    const bool bStarted = player.PlayLooping(m_dir.Path() + "text.wav");
    ASSERT_TRUE(ReadEnds(player));
    EXPECT_FALSE(player.IsPlaying()) << "started: " << bStarted;
    // Asked again, the file is known to be unplayable at once.
    EXPECT_FALSE(player.PlayLooping(m_dir.Path() + "text.wav"));
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_FALSE(player.IsLoading());
    // The player is not stuck on the bad file.
    ASSERT_TRUE(player.PlayLooping(m_dir.Path() + "beep.wav"));
    ASSERT_TRUE(ReadEnds(player));
    EXPECT_TRUE(player.IsPlaying());
}

TEST_F(SoundPlayerTest, MissingModulePlaysNothingAndSaysSoOnce) {
    CSoundPlayer player(m_dir.Path() + CSoundPlayer::kModuleName);
    EXPECT_FALSE(player.PlayLooping(m_dir.Path() + "beep.wav"));
    EXPECT_FALSE(player.PlayLooping(m_dir.Path() + "beep.wav"));
    EXPECT_FALSE(player.IsPlaying());
    const std::string strLog = LogCaptured();
    const size_t nFirst = strLog.find("Sound support not loaded");
    ASSERT_NE(nFirst, std::string::npos) << strLog;
    EXPECT_EQ(strLog.find("Sound support not loaded", nFirst + 1), std::string::npos);
}

} // namespace
