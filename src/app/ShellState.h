#pragma once
// What the main window owns and shares with its helpers (device presence, profiles and
// modes): the device models with their drivers, the profile list with the lock under which
// the apply threads copy the current profile, and one apply thread per family.
//
// Everything here is used on the user-interface thread, except that the apply threads
// take their snapshot under mtxProfile. Whoever writes into the current profile or makes
// another profile current holds mtxProfile meanwhile (LockProfile).
#include <memory>
#include <mutex>

#include "config/GlobalVar.h"
#include "device/models/ApplyThread.h"
#include "device/models/HidDev.h"
#include "device/models/ProfileSource.h"
#include "storage/ProfileStore.h"

// Families as the device list and the apply paths number them.
enum EFamily : int { FAMILY_NONE = 0, FAMILY_MOUSE = 1, FAMILY_KEYBOARD = 2, FAMILY_PAD = 3 };

struct CShellState {
    explicit CShellState(CGlobalVar& v) : var(v), proList(v), source(proList, mtxProfile) {}
    CShellState(const CShellState&) = delete;
    CShellState& operator=(const CShellState&) = delete;

    CGlobalVar& var;
    std::unique_ptr<CHidDev> pMs;
    std::unique_ptr<CHidDev> pKb;
    std::unique_ptr<CHidDev> pPad;
    std::unique_ptr<CHidDev> pCompanion; // the keyboard part of a mouse, when configured

    CProList proList;
    std::mutex mtxProfile;
    CProListSource source;

    std::unique_ptr<CApplyThread> pApplyMs;
    std::unique_ptr<CApplyThread> pApplyKb;
    std::unique_ptr<CApplyThread> pApplyPad;

    std::unique_lock<std::mutex> LockProfile() { return std::unique_lock<std::mutex>(mtxProfile); }
    Profile* Current() const { return proList.Current(); }

    CHidDev* Dev(int nFamily) const {
        switch (nFamily) {
        case FAMILY_MOUSE: return pMs.get();
        case FAMILY_KEYBOARD: return pKb.get();
        case FAMILY_PAD: return pPad.get();
        default: return nullptr;
        }
    }
    CApplyThread* Apply(int nFamily) const {
        switch (nFamily) {
        case FAMILY_MOUSE: return pApplyMs.get();
        case FAMILY_KEYBOARD: return pApplyKb.get();
        case FAMILY_PAD: return pApplyPad.get();
        default: return nullptr;
        }
    }
    // Stops and joins the apply threads; an apply in progress ends first.
    void StopApplyThreads() {
        for (CApplyThread* p : {pApplyMs.get(), pApplyKb.get(), pApplyPad.get()})
            if (p)
                p->Stop();
    }
    // Shuts every model's driver down (closes handles, ends the mouse's listener).
    void ShutdownDrivers() {
        for (CHidDev* p : {pMs.get(), pKb.get(), pPad.get(), pCompanion.get()})
            if (p && p->Drv())
                p->Drv()->Shutdown();
    }
    // Connected: the family's model exists and its driver holds a device handle.
    bool Connected(int nFamily) const {
        CHidDev* p = Dev(nFamily);
        return p && p->GetHandle();
    }
};
