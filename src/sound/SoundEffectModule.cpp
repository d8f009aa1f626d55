// The profile sound's player on QSoundEffect, built as a module the program loads the first
// time it plays a sound: Qt Multimedia and the audio libraries it pulls in (PulseAudio, the
// codecs) then cost nothing at start-up. The module links Qt only, never the program's own
// static libraries, so no second copy of their state exists; the loader checks the file.
#include <QSoundEffect>
#include <QUrl>
#include <memory>
#include <set>
#include <string>

#include "app/dialogs/SoundPlayer.h"

namespace {

class CSoundEffectPlayer : public ISoundPlayer {
public:
    ~CSoundEffectPlayer() override { Stop(); }

    bool PlayLooping(const std::string& strPath) override {
        Stop();
        // Qt's sample cache keeps a file it could not decode and never reads it again: a new
        // effect on it would say Loading for ever.
        if (m_setUnplayable.count(strPath))
            return false;
        // A fresh effect per file: QSoundEffect loads asynchronously and plays once loaded,
        // and reusing one for another source may keep the old sample queued.
        m_pEffect = std::make_unique<QSoundEffect>();
        QSoundEffect* pEffect = m_pEffect.get();
        QObject::connect(pEffect, &QSoundEffect::statusChanged, pEffect, [this, pEffect, strPath] {
            if (pEffect->status() == QSoundEffect::Error)
                m_setUnplayable.insert(strPath);
        });
        pEffect->setSource(QUrl::fromLocalFile(QString::fromStdString(strPath)));
        pEffect->setLoopCount(QSoundEffect::Infinite);
        pEffect->play();
        // A file that fails inside setSource (the cache's thread was quick) is Error there,
        // and play() turns that Error into Null; otherwise the status says Loading or Ready.
        const QSoundEffect::Status st = pEffect->status();
        m_bPlaying = st == QSoundEffect::Loading || st == QSoundEffect::Ready;
        if (!m_bPlaying)
            m_setUnplayable.insert(strPath);
        return m_bPlaying;
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
        return m_bPlaying && m_pEffect->status() == QSoundEffect::Loading;
    }

private:
    std::unique_ptr<QSoundEffect> m_pEffect;
    bool m_bPlaying = false;
    std::set<std::string> m_setUnplayable; // files found undecodable in this run
};

} // namespace

extern "C" __attribute__((visibility("default"))) ISoundPlayer* velkin_create_sound_player() {
    return new CSoundEffectPlayer();
}
