#include "device/models/ProfileSource.h"

#include <cstring>

#include "storage/ProfileStore.h"

bool CProListSource::Snapshot(Profile& out) {
    std::lock_guard<std::mutex> lock(m_mtx);
    const Profile* pCur = m_list.Current();
    if (!pCur)
        return false;
    std::memcpy(&out, pCur, sizeof out);
    return true;
}
