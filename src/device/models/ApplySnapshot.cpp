#include "device/models/ApplySnapshot.h"

#include <algorithm>
#include <new>

#include "device/hid/CurLevels.h"

namespace {

constexpr uint32_t kClassMacro = 5;
constexpr uint32_t kClassBullet = 12;

// Ids of the macros (class 5) and bullet macros (class 12) the keys use, each once.
class CUsedIds {
public:
    void Add(const KeyFun& kf) {
        const uint32_t nClass = FunClass(kf.dwFun);
        if (nClass == kClassMacro)
            Insert(m_vMacros, kf.dwMacroId);
        else if (nClass == kClassBullet)
            Insert(m_vBullets, kf.dwMacroId);
    }
    void Add(const KeyAssign& ka) {
        Add(ka.Main);
        Add(ka.Fn);
    }
    const std::vector<uint32_t>& Macros() const { return m_vMacros; }
    const std::vector<uint32_t>& Bullets() const { return m_vBullets; }

private:
    static void Insert(std::vector<uint32_t>& v, uint32_t dwId) {
        if (std::find(v.begin(), v.end(), dwId) == v.end())
            v.push_back(dwId);
    }
    std::vector<uint32_t> m_vMacros;
    std::vector<uint32_t> m_vBullets;
};

void CopyUsed(const std::vector<uint32_t>& vIds, const CMacroStore& from, CMacroStore& to) {
    for (uint32_t dwId : vIds) {
        const StMacro* pMac = from.Find(dwId);
        if (pMac && !to.Add(*pMac))
            throw std::bad_alloc();
    }
}

} // namespace

CApplySnapshot::CApplySnapshot(const Profile& pro, const CMacroStore& macros,
                               const CMacroStore& bullets)
    : m_pPro(std::make_unique<Profile>(pro)) {
    for (int m = 0; m < MS_PROFILE_MODES; ++m)
        m_nCurDpiLevel[m] = g_nCurDpiLevel[m];
    CUsedIds ids;
    for (const KeyAssign& ka : m_pPro->Kb.KbKeys)
        ids.Add(ka);
    for (const KeyAssign& ka : m_pPro->Kb.Gest)
        ids.Add(ka);
    for (const MsMode& mode : m_pPro->Ms.Mode)
        for (const auto& set : mode.Keys)
            for (const KeyAssign& ka : set)
                ids.Add(ka);
    CopyUsed(ids.Macros(), macros, m_macros);
    CopyUsed(ids.Bullets(), bullets, m_bullets);
}

int CApplySnapshot::CurDpiLevel(int nModeIndex) const {
    return nModeIndex >= 0 && nModeIndex < MS_PROFILE_MODES ? m_nCurDpiLevel[nModeIndex] : -1;
}

void CApplySnapshot::SetCurDpiLevel(int nModeIndex, int nLevel) {
    if (nModeIndex >= 0 && nModeIndex < MS_PROFILE_MODES)
        m_nCurDpiLevel[nModeIndex] = nLevel;
}

std::unique_ptr<CApplySnapshot> MakeApplySnapshot(const Profile& pro, const CMacroStore& macros,
                                                  const CMacroStore& bullets) {
    try {
        return std::make_unique<CApplySnapshot>(pro, macros, bullets);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
