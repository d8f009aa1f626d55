#include "app/dialogs/SoundPlayer.h"

#include <QCoreApplication>
#include <QLibrary>

#include "config/Log.h"
#include "platform/FileLookup.h"

namespace {
using CreateFn = ISoundPlayer* (*)();
}

CSoundPlayer::CSoundPlayer(std::string strModule) : m_strModule(std::move(strModule)) {}

CSoundPlayer::~CSoundPlayer() {
    Stop();
}

bool CSoundPlayer::LoadModule() {
    if (m_pImpl || m_bTried)
        return m_pImpl != nullptr;
    m_bTried = true;
    QString strPath = QString::fromStdString(m_strModule);
    if (strPath.isEmpty())
        strPath = QCoreApplication::applicationDirPath() + "/" + kModuleName;
    // The library stays loaded for the rest of the run: Qt Multimedia keeps threads and
    // objects of its own that must not lose their code.
    QLibrary lib(strPath);
    auto fnCreate = reinterpret_cast<CreateFn>(lib.resolve("velkin_create_sound_player"));
    if (!fnCreate) {
        LogPrint("Sound support not loaded: %s", lib.errorString().toLocal8Bit().constData());
        return false;
    }
    m_pImpl.reset(fnCreate());
    return m_pImpl != nullptr;
}

bool CSoundPlayer::PlayLooping(const std::string& strPath) {
    if (strPath.empty() || !FileLookup::Exists(strPath) || FileLookup::IsDirectory(strPath)) {
        LogPrint("Sound not played, no file: %s", strPath.c_str());
        return false;
    }
    Stop();
    if (!LoadModule())
        return false;
    return m_pImpl->PlayLooping(strPath);
}

void CSoundPlayer::Stop() {
    if (m_pImpl)
        m_pImpl->Stop();
}

bool CSoundPlayer::IsPlaying() const {
    return m_pImpl && m_pImpl->IsPlaying();
}

bool CSoundPlayer::IsLoading() const {
    return m_pImpl && m_pImpl->IsLoading();
}
