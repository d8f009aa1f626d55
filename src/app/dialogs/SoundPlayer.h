#pragma once
// The profile sound: one WAV file played asynchronously in an endless loop until stopped.
// The profile code and the options dialog start and stop it; tests use a recording player.
#include <memory>
#include <string>

class ISoundPlayer {
public:
    virtual ~ISoundPlayer() = default;
    // Stops what plays and starts the file looping. A path with no file plays nothing (and
    // stops nothing else either); returns whether the file is now playing.
    virtual bool PlayLooping(const std::string& strPath) = 0;
    // Stops any sound; nothing happens when none plays.
    virtual void Stop() = 0;
    // Whether a sound was started, not stopped since, and its file has not turned out
    // unplayable (a file that is no WAV stops counting once it has been read).
    virtual bool IsPlaying() const = 0;
    // Whether the started sound's file is still being read; it plays once read.
    virtual bool IsLoading() const = 0;
};

// QSoundEffect with an infinite loop count, from the sound module beside the program
// (libvelkin_sound.so), loaded on the first sound played. Without the module no sound plays
// and the reason is logged once. Lives on the user-interface thread.
class CSoundPlayer : public ISoundPlayer {
public:
    // strModule: the module's path; empty for the one beside the running executable.
    explicit CSoundPlayer(std::string strModule = std::string());
    ~CSoundPlayer() override;
    CSoundPlayer(const CSoundPlayer&) = delete;
    CSoundPlayer& operator=(const CSoundPlayer&) = delete;

    bool PlayLooping(const std::string& strPath) override;
    void Stop() override;
    bool IsPlaying() const override;
    bool IsLoading() const override;

    static constexpr const char* kModuleName = "libvelkin_sound.so";

private:
    bool LoadModule();

    std::string m_strModule;
    std::unique_ptr<ISoundPlayer> m_pImpl;
    bool m_bTried = false;
};
