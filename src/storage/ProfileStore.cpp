#include "storage/ProfileStore.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "config/Log.h"
#include "platform/Clock.h"
#include "platform/FileLookup.h"
#include "storage/ProfileDefaults.h"
#include "storage/ProfileId.h"
#include "storage/WideField.h"

void CProList::CreateDefault(Profile& out, const std::string& strName) const {
    std::memset(&out, 0, sizeof(out));
    out.dwMagic = PROFILE_MAGIC;
    out.dwId = NewProfileId();
    if (m_var.MsFw != 0)
        FillMsDefault(out.Ms, m_var);
    if (m_var.KbFw != 0)
        FillKbDefault(out.Kb, m_var);
    if (m_var.PadFw != 0)
        FillPadDefault(out.Pad, m_var);
    SetWideField(out.szName, PROFILE_NAME_LEN, strName);
}

Profile* CProList::AddCopy(const Profile& profile) {
    return m_List.AddCopy(profile);
}

std::string CProList::ProFilePath() const {
    return (m_var.LoadCurDir != 0 ? m_var.szProgramDir : m_var.szUserDataDir) + "pro.dct";
}

std::string CProList::CurIdPath() const {
    return m_var.szUserDataDir + "curid.dct";
}

void CProList::KeepAside(const std::string& strPath) {
    LocalTime t = GetClock().Now();
    char szSuffix[64];
    snprintf(szSuffix, sizeof(szSuffix), ".bad-%04d%02d%02d-%02d%02d%02d", t.nYear, t.nMonth,
             t.nDay, t.nHour, t.nMinute, t.nSecond);
    std::string strAside = strPath + szSuffix;
    for (int n = 2; FileLookup::Exists(strAside) && n < 1000; ++n)
        strAside = strPath + szSuffix + "-" + std::to_string(n);
    if (rename(strPath.c_str(), strAside.c_str()) == 0) {
        m_strKeptAside = strAside;
        LogPrint("Unusable profile file kept as %s", strAside.c_str());
    } else {
        LogPrint("Unusable profile file %s could not be kept aside, err=%d", strPath.c_str(),
                 errno);
    }
}

int CProList::Load(bool bKeepAside) {
    m_strKeptAside.clear();
    std::string strPath = ProFilePath();
    std::vector<uint8_t> vBuf(PRO_FILE_SIZE, 0);
    FILE* pFile = fopen(strPath.c_str(), "rb");
    if (!pFile) {
        int nErr = errno;
        LogPrint("Open pro file err=%d", nErr);
        // A file that is there but cannot be opened is the user's data all the same.
        if (nErr != ENOENT && FileLookup::Exists(strPath)) {
            if (bKeepAside)
                KeepAside(strPath);
            return 0;
        }
    } else {
        bool bUsable = true;
        if (fseek(pFile, 0, SEEK_END) != 0 || ftell(pFile) != static_cast<long>(PRO_FILE_SIZE)) {
            LogPrint("Profile has wrong size");
            bUsable = false;
        } else {
            rewind(pFile);
            if (fread(vBuf.data(), 1, PRO_FILE_SIZE, pFile) != PRO_FILE_SIZE)
                bUsable = false;
        }
        fclose(pFile);
        if (bUsable) {
            // Non-zero bytes without one valid slot are not a store this program wrote.
            bool bAnyValid = false, bAnyByte = false;
            for (int i = 0; i < PROFILE_FILE_SLOTS; ++i) {
                Profile slot;
                std::memcpy(&slot, vBuf.data() + i * sizeof(Profile), sizeof(Profile));
                bAnyValid = bAnyValid || IsProfileValid(slot);
            }
            for (uint8_t by : vBuf)
                if (by != 0) {
                    bAnyByte = true;
                    break;
                }
            if (!bAnyValid && bAnyByte) {
                LogPrint("Profile file holds no valid profile");
                bUsable = false;
            }
        }
        if (!bUsable) {
            if (bKeepAside)
                KeepAside(strPath);
            return 0;
        }
    }

    m_pCur = nullptr;
    m_List.Clear();
    int nValid = 0;
    for (int i = 0; i < PROFILE_FILE_SLOTS; ++i) {
        auto pSlot = std::make_unique<Profile>();
        std::memcpy(pSlot.get(), vBuf.data() + i * sizeof(Profile), sizeof(Profile));
        if (!IsProfileValid(*pSlot))
            continue;
        ++nValid;
        m_List.AddCopy(*pSlot);
    }
    return nValid;
}

bool CProList::Save() const {
    std::vector<uint8_t> vBuf(PRO_FILE_SIZE, 0);
    int nSlot = 0;
    for (const Profile& p : m_List) {
        if (nSlot >= PROFILE_FILE_SLOTS)
            break;
        if (p.dwId == 0)
            continue;
        std::memcpy(vBuf.data() + nSlot * sizeof(Profile), &p, sizeof(Profile));
        ++nSlot;
    }
    std::string strPath = ProFilePath();
    errno = 0;
    if (FileLookup::WriteAtomic(strPath, vBuf.data(), vBuf.size()))
        return true;
    int nErr = errno;
    if (nErr == ENOENT || nErr == EACCES || nErr == EROFS || nErr == ENOTDIR || nErr == EPERM)
        LogPrint("Save pro: CreateFile err=%d", nErr);
    else
        LogPrint("Save pro: WriteFile err=%d", nErr);
    return false;
}

uint32_t CProList::ReadCurrentId() const {
    auto data = FileLookup::ReadAll(CurIdPath());
    if (!data || data->size() < 4)
        return 0;
    const uint8_t* p = data->data();
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

bool CProList::WriteCurrentId() const {
    if (!m_pCur)
        return false;
    uint32_t dwId = m_pCur->dwId;
    uint8_t by[4] = {static_cast<uint8_t>(dwId), static_cast<uint8_t>(dwId >> 8),
                     static_cast<uint8_t>(dwId >> 16), static_cast<uint8_t>(dwId >> 24)};
    return FileLookup::WriteAtomic(CurIdPath(), by, sizeof(by));
}

Profile* CProList::FindById(uint32_t dwId) const {
    for (Profile& p : m_List)
        if (p.dwId == dwId)
            return &p;
    return nullptr;
}

bool CProList::SelectById(uint32_t dwId) {
    Profile* p = FindById(dwId);
    m_pCur = p ? p : m_List.Head();
    return m_pCur != nullptr;
}

bool CProList::Remove(Profile* p) {
    bool bCur = p == m_pCur;
    if (bCur)
        m_pCur = nullptr;
    if (!m_List.Remove(p))
        return false;
    if (bCur)
        m_pCur = m_List.Head();
    return true;
}
