#pragma once
// The profile store: the profiles in memory, one of them current, and their files pro.dct
// (twelve raw records) and curid.dct (the current profile's id).
#include <cstdint>
#include <string>

#include "config/GlobalVar.h"
#include "storage/MyList.h"
#include "storage/Profile.h"

inline constexpr size_t PRO_FILE_SIZE = sizeof(Profile) * PROFILE_FILE_SLOTS; // 675072

// A record that a slot of pro.dct may hold: the magic and a non-zero id.
inline bool IsProfileValid(const Profile& p) {
    return p.dwMagic == PROFILE_MAGIC && p.dwId != 0;
}

class CProList {
public:
    // var supplies the folders, the LoadCurDir rule and the descriptions the default regions
    // come from; it must outlive the store.
    explicit CProList(const CGlobalVar& var) : m_var(var) {}

    // A new record: magic, a new id, the default regions of the configured families (mouse,
    // keyboard, pad in that order) and the name cut to 19 characters.
    void CreateDefault(Profile& out, const std::string& strName) const;
    // Appends a copy; nullptr when memory runs out.
    Profile* AddCopy(const Profile& profile);

    // Reads pro.dct and replaces the list with its valid records; returns their number.
    // A missing file empties the list. A file that exists but cannot be used (wrong size,
    // unreadable, or not one valid record among non-zero bytes) leaves the list as it was
    // and returns 0; with bKeepAside it is first renamed to pro.dct.bad-<date>-<time> so the
    // defaults the caller builds next cannot overwrite it.
    int Load(bool bKeepAside = true);
    // Writes the first twelve records with a non-zero id to pro.dct, atomically. False when
    // the file could not be written (logged; the old file is then intact).
    bool Save() const;
    // The id in curid.dct, 0 when the file cannot be read.
    uint32_t ReadCurrentId() const;
    // Writes the current profile's id; false when there is none or the write failed.
    bool WriteCurrentId() const;

    Profile* Current() const { return m_pCur; }
    // The current pointer always points into the list or is null.
    void SetCurrent(Profile* p) { m_pCur = p; }
    Profile* FindById(uint32_t dwId) const;
    // Makes the profile with that id current, else the first; false when the list is empty.
    bool SelectById(uint32_t dwId);
    // Frees the record; the first record becomes current when it was the current one.
    bool Remove(Profile* p);
    const CMyList<Profile>& List() const { return m_List; }
    size_t Count() const { return m_List.Count(); }

    std::string ProFilePath() const;
    std::string CurIdPath() const;
    // Where the last Load put an unusable pro.dct; empty when it did not.
    const std::string& KeptAsidePath() const { return m_strKeptAside; }

private:
    void KeepAside(const std::string& strPath);

    const CGlobalVar& m_var;
    CMyList<Profile> m_List;
    Profile* m_pCur = nullptr;
    std::string m_strKeptAside;
};
