#pragma once
// The profile sound: one WAV file played asynchronously in an endless loop until stopped.
// The profile code and the options dialog start and stop it; tests use a recording player.
#include <memory>
#include <string>

class QSoundEffect;

class ISoundPlayer {
public:
    virtual ~ISoundPlayer() = default;
    // Stops what plays and starts the file looping. A path with no file plays nothing (and
    // stops nothing else either); returns whether the file is now playing.
    virtual bool PlayLooping(const std::string& strPath) = 0;
    // Stops any sound; nothing happens when none plays.
    virtual void Stop() = 0;
    // Whether a sound was started and not stopped since.
    virtual bool IsPlaying() const = 0;
};

// QSoundEffect with an infinite loop count. Lives on the user-interface thread.
class CSoundPlayer : public ISoundPlayer {
public:
    CSoundPlayer();
    ~CSoundPlayer() override;
    CSoundPlayer(const CSoundPlayer&) = delete;
    CSoundPlayer& operator=(const CSoundPlayer&) = delete;

    bool PlayLooping(const std::string& strPath) override;
    void Stop() override;
    bool IsPlaying() const override;

private:
    std::unique_ptr<QSoundEffect> m_pEffect;
    bool m_bPlaying = false;
};
