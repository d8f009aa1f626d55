#pragma once
// A sound player that plays nothing and remembers what it was asked, for tests. Like the
// real one it starts only files that exist.
#include <string>
#include <vector>

#include "app/dialogs/SoundPlayer.h"
#include "platform/FileLookup.h"

class CFakeSoundPlayer : public ISoundPlayer {
public:
    bool PlayLooping(const std::string& strPath) override {
        m_vRequests.push_back(strPath);
        if (strPath.empty() || !FileLookup::Exists(strPath) || FileLookup::IsDirectory(strPath))
            return false;
        m_strPlaying = strPath;
        m_bPlaying = true;
        ++m_nStarted;
        return true;
    }
    void Stop() override {
        ++m_nStops;
        m_bPlaying = false;
        m_strPlaying.clear();
    }
    bool IsPlaying() const override { return m_bPlaying; }
    bool IsLoading() const override { return false; }

    std::vector<std::string> m_vRequests; // every path asked for, in order
    std::string m_strPlaying;             // the file playing now, empty when none
    int m_nStarted = 0;                   // files actually started
    int m_nStops = 0;
    bool m_bPlaying = false;
};
