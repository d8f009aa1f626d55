// The profile sound's player on QSoundEffect, built as a module the program loads the first
// time it plays a sound: Qt Multimedia and the audio libraries it pulls in (PulseAudio, the
// codecs) then cost nothing at start-up. The module links Qt only, never the program's own
// static libraries, so no second copy of their state exists; the loader checks the file.
#include <QSoundEffect>
#include <QUrl>
#include <memory>

#include "app/dialogs/SoundPlayer.h"

namespace {

class CSoundEffectPlayer : public ISoundPlayer {
public:
    ~CSoundEffectPlayer() override { Stop(); }

    bool PlayLooping(const std::string& strPath) override {
        Stop();
        // A fresh effect per file: QSoundEffect loads asynchronously and plays once loaded,
        // and reusing one for another source may keep the old sample queued.
        m_pEffect = std::make_unique<QSoundEffect>();
        m_pEffect->setSource(QUrl::fromLocalFile(QString::fromStdString(strPath)));
        m_pEffect->setLoopCount(QSoundEffect::Infinite);
        m_pEffect->play();
        m_bPlaying = true;
        return true;
    }
    void Stop() override {
        if (m_pEffect)
            m_pEffect->stop();
        m_pEffect.reset();
        m_bPlaying = false;
    }
    bool IsPlaying() const override {
        return m_bPlaying && m_pEffect->status() != QSoundEffect::Error;
    }
    bool IsLoading() const override {
        // Until the cache has taken the file up the status may still read Null: only Ready
        // and Error end the read.
        if (!m_pEffect)
            return false;
        const QSoundEffect::Status st = m_pEffect->status();
        return st != QSoundEffect::Ready && st != QSoundEffect::Error;
    }

private:
    std::unique_ptr<QSoundEffect> m_pEffect;
    bool m_bPlaying = false;
};

} // namespace

extern "C" __attribute__((visibility("default"))) ISoundPlayer* velkin_create_sound_player() {
    return new CSoundEffectPlayer();
}
