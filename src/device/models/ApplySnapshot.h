#pragma once
// What one apply writes, copied on the thread that owns the data: the profile, the
// macros and bullet macros its keys refer to, and the mouse's active resolution levels. The apply
// thread reads only this copy, so the window thread may edit, rename and delete profiles and macros
// while a device is being written, and the buffer numbers the encoders hand out land in the copy,
// never in the user's macros.
//
// A snapshot belongs to the apply thread once it is handed over with a request; nobody
// else touches it afterwards.
#include <memory>
#include <vector>

#include "storage/MacroStore.h"
#include "storage/Profile.h"

// The stores one encoder run looks macros up in and writes buffer numbers into.
struct CApplyStores {
    CMacroStore& Macros;
    CMacroStore& Bullets;
};

// The desktop pointer settings (WinPointer) an apply asked for with flag 8, for one mode.
// The apply only records them; whoever receives the outcome sets them on its own thread.
struct CPointerRequest {
    int nMode = 0; // 0..2
    WinPointer Sys{};
};

class CApplySnapshot {
public:
    // Copies pro and, of each store, the macros the profile's keys use: class 5 functions
    // from macros, class 12 from bullets, looking at the Main and Fn function of every
    // keyboard key, gesture and key of every mouse key set. A macro is found by id as the
    // encoders find it (the first with that id); ids missing from a store stay missing.
    // The active level of each mouse mode is taken from g_nCurDpiLevel, which the window
    // thread keeps up to date from the mouse's notifications.
    // Throws std::bad_alloc when memory runs out (MakeApplySnapshot does not).
    CApplySnapshot(const Profile& pro, const CMacroStore& macros, const CMacroStore& bullets);
    CApplySnapshot(const CApplySnapshot&) = delete;
    CApplySnapshot& operator=(const CApplySnapshot&) = delete;

    const Profile& Pro() const { return *m_pPro; }
    CMacroStore& Macros() { return m_macros; }
    CMacroStore& Bullets() { return m_bullets; }
    const CMacroStore& Macros() const { return m_macros; }
    const CMacroStore& Bullets() const { return m_bullets; }
    CApplyStores Stores() { return {m_macros, m_bullets}; }
    // The mouse's active resolution level of mode nModeIndex (0..2) when the snapshot was
    // taken; -1 when unknown or outside.
    int CurDpiLevel(int nModeIndex) const;
    void SetCurDpiLevel(int nModeIndex, int nLevel);

    // Filled by the encoder while it applies: the pointer settings asked for, in the order
    // the modes were written. The apply thread empties it before each apply.
    std::vector<CPointerRequest>& Pointer() { return m_vPointer; }

private:
    std::unique_ptr<Profile> m_pPro;
    CMacroStore m_macros;
    CMacroStore m_bullets;
    std::vector<CPointerRequest> m_vPointer;
    int m_nCurDpiLevel[MS_PROFILE_MODES];
};

// A snapshot as above; null when memory runs out.
std::unique_ptr<CApplySnapshot> MakeApplySnapshot(const Profile& pro, const CMacroStore& macros,
                                                  const CMacroStore& bullets);
