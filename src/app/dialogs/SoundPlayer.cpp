#include "app/dialogs/SoundPlayer.h"

#include <QSoundEffect>
#include <QUrl>

#include "config/Log.h"
#include "platform/FileLookup.h"

CSoundPlayer::CSoundPlayer() = default;

CSoundPlayer::~CSoundPlayer() {
    Stop();
}

bool CSoundPlayer::PlayLooping(const std::string& strPath) {
    if (strPath.empty() || !FileLookup::Exists(strPath) || FileLookup::IsDirectory(strPath)) {
        LogPrint("Sound not played, no file: %s", strPath.c_str());
        return false;
    }
    Stop();
    // A fresh effect per file: QSoundEffect loads asynchronously and plays once loaded, and
    // reusing one for another source may keep the old sample queued.
    m_pEffect = std::make_unique<QSoundEffect>();
    m_pEffect->setSource(QUrl::fromLocalFile(QString::fromStdString(strPath)));
    m_pEffect->setLoopCount(QSoundEffect::Infinite);
    m_pEffect->play();
    m_bPlaying = true;
    return true;
}

void CSoundPlayer::Stop() {
    if (m_pEffect)
        m_pEffect->stop();
    m_pEffect.reset();
    m_bPlaying = false;
}

bool CSoundPlayer::IsPlaying() const {
    return m_bPlaying;
}
