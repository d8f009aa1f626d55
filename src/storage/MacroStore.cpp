#include "storage/MacroStore.h"

#include "storage/MacroFile.h"

CMacroStore MacroStore(MACRO_STORE_MAX);
CMacroStore BulletStore(MACRO_STORE_MAX);

StMacro* CMacroStore::Add(const StMacro& rec) {
    if (Full())
        return nullptr;
    return m_List.AddCopy(rec);
}

StMacro* CMacroStore::Find(uint32_t dwId) const {
    for (StMacro& m : m_List)
        if (m.dwId == dwId)
            return &m;
    return nullptr;
}

StMacro* CMacroStore::FindByItemValue(uint32_t dwValue) const {
    for (StMacro& m : m_List)
        if ((m.dwId & MACRO_ID_MASK) == (dwValue & MACRO_ID_MASK))
            return &m;
    return nullptr;
}

bool CMacroStore::Remove(uint32_t dwId) {
    StMacro* p = Find(dwId);
    return p && m_List.Remove(p);
}

std::optional<std::string> CStoreMacroNames::MacroName(uint32_t dwMacroId) const {
    if (const StMacro* p = m_Macros.Find(dwMacroId))
        return ::MacroName(*p);
    return std::nullopt;
}

std::optional<std::string> CStoreMacroNames::BulletName(uint32_t dwMacroId) const {
    if (const StMacro* p = m_Bullets.Find(dwMacroId))
        return ::MacroName(*p);
    return std::nullopt;
}

void InstallMacroNameSource() {
    static CStoreMacroNames s_Names(MacroStore, BulletStore);
    SetMacroNameSource(&s_Names);
}
