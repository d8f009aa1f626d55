#pragma once
// The macros in memory: ordinary macros (MacroStore) and bullet macros (BulletStore), each a
// list of owned copies. Keys refer to macros only by id.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "config/FunctionNames.h"
#include "storage/MacroRecord.h"
#include "storage/MyList.h"

inline constexpr size_t MACRO_STORE_MAX = 2000; // per store; the editors refuse the 2001st

class CMacroStore {
public:
    // nMax 0: no limit.
    explicit CMacroStore(size_t nMax = 0) : m_nMax(nMax) {}
    // Appends a copy; nullptr when the store is full or memory runs out.
    StMacro* Add(const StMacro& rec);
    // The first entry with exactly this id.
    StMacro* Find(uint32_t dwId) const;
    // The first entry whose id matches in the low 24 bits (tree items carry those).
    StMacro* FindByItemValue(uint32_t dwValue) const;
    // Unlinks and frees the first entry with this id.
    bool Remove(uint32_t dwId);
    void Clear() { m_List.Clear(); }
    size_t Count() const { return m_List.Count(); }
    bool Full() const { return m_nMax != 0 && m_List.Count() >= m_nMax; }
    size_t Max() const { return m_nMax; }
    const CMyList<StMacro>& List() const { return m_List; }

private:
    size_t m_nMax;
    CMyList<StMacro> m_List;
};

// The program's stores.
extern CMacroStore MacroStore;
extern CMacroStore BulletStore;

// Macro names for the key catalogue, from two stores.
class CStoreMacroNames : public IMacroNameSource {
public:
    CStoreMacroNames(const CMacroStore& macros, const CMacroStore& bullets)
        : m_Macros(macros), m_Bullets(bullets) {}
    std::optional<std::string> MacroName(uint32_t dwMacroId) const override;
    std::optional<std::string> BulletName(uint32_t dwMacroId) const override;

private:
    const CMacroStore& m_Macros;
    const CMacroStore& m_Bullets;
};

// Makes the key catalogue name macros from MacroStore and BulletStore.
void InstallMacroNameSource();
