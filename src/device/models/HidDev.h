#pragma once
// Base of the device models. A model knows one device family's settings: it fills the
// family's region of a profile with defaults, turns key functions and macros into the
// family's hardware codes and writes a whole profile through its protocol driver.
//
// The virtual operations keep the slot order of the family table, so the family encoders
// override the same places. Every operation that writes to a device runs on the family's
// apply thread; only the reset flag is shared with the window thread.
//
// The stores given to the constructor are the program's live macro stores: code lookups
// made on the window thread (keyinfo_to_hardware_code, the matrix fills) read them. An
// apply never does: it works on a snapshot with its own copies (ApplySnapshot.h).
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "config/GlobalVar.h"
#include "device/hid/HidDrv.h"
#include "device/models/ApplySnapshot.h"
#include "device/models/ProgressSink.h"
#include "storage/KeyAssign.h"
#include "storage/MacroRecord.h"
#include "storage/Profile.h"

class CMacroStore;

inline constexpr uint32_t HW_CODE_NONE = 0xFFFFFFFF;
inline constexpr int APPLY_FLAG_PROGRESS = 0x8000;

class CHidDev {
public:
    // nDevCode is the configured firmware code of the family; pDrv becomes the model's.
    // Macros of keys are looked up in pMacros (the program's MacroStore when null), bullet
    // macros in pBullets (the program's BulletStore when null).
    CHidDev(CGlobalVar& var, int nDevCode, std::unique_ptr<CHidDrv> pDrv,
            CMacroStore* pMacros = nullptr, CMacroStore* pBullets = nullptr);
    CHidDev(const CHidDev&) = delete;
    CHidDev& operator=(const CHidDev&) = delete;

    virtual ~CHidDev();
    // A family constant that nothing asks for; kept for the slot order.
    virtual int GetFamilyCode() const { return 1; }
    // Key-matrix position of the keypad Enter key.
    virtual int GetEnterInx() const { return 1; }
    virtual void FillDefault(Profile&) {}
    // The family's 32-bit code of a key function, HW_CODE_NONE when it has none.
    virtual uint32_t keyinfo_to_hardware_code(const KeyFun&) { return 1; }
    // Writes the hardware form of a macro into pOut (at most nCap bytes) and returns its
    // length.
    virtual int StMacro_To_HdMacro(const StMacro&, uint8_t* /*pOut*/, size_t /*nCap*/) { return 1; }
    // Writes the snapshot's profile to the device. pWnd receives nMsg progress positions
    // when not null; nFlag selects what to write. Macros are looked up in, and buffer
    // numbers written into, the snapshot's stores only; pointer settings asked for go to
    // snap.Pointer() instead of the desktop. Non-zero on success. Runs on the apply thread.
    virtual int ApplySetting(CApplySnapshot& /*snap*/, IProgressSink* /*pWnd*/, uint32_t /*nMsg*/,
                             int /*nFlag*/) {
        return 1;
    }
    // A whole apply on the calling thread, for tools and benchmarks that own their data:
    // a snapshot of pro with the constructor's stores (which are only read), then the
    // pointer settings it asked for are set here through GetPointerSettings(). Boxes go
    // wherever the calling thread's go.
    int ApplySetting(const Profile& pro, IProgressSink* pWnd, uint32_t nMsg, int nFlag);
    virtual void SetSensorDefault(Profile&, int /*nSensor*/) {}
    // The 21 key assignments of a mouse key set, null when the family has none.
    virtual KeyAssign* GetKeySet(Profile&, int /*nMode*/, int /*nSet*/) { return nullptr; }
    // Re-sends the companion keyboard's key matrix (nOn 1: key-set switch keys).
    virtual int UpdateMatrix(int /*nOn*/) { return 0; }

    int DevCode() const { return m_nDevCode; }
    CHidDrv* Drv() const { return m_pDrv.get(); }
    // The driver's device handle, null without driver or device.
    HidHandle GetHandle() const;

    // Set by the window thread after it filled the current profile with defaults; every
    // apply clears it when it ends.
    void SetReset(int nReset) { m_nReset.store(nReset); }
    int Reset() const { return m_nReset.load(); }

protected:
    // A progress position for the progress window, when there is one.
    static void Progress(IProgressSink* pWnd, uint32_t nMsg, int nPos);
    // Position 100 and the pause that lets the user see it.
    static void ProgressDone(IProgressSink* pWnd, uint32_t nMsg);

    // The constructor's stores, for lookups outside an apply.
    CMacroStore& Macros() const { return *m_pMacros; }
    CApplyStores OwnStores() const { return {*m_pMacros, *m_pBullets}; }

    CGlobalVar& m_var;
    int m_nDevCode;
    std::unique_ptr<CHidDrv> m_pDrv;
    std::atomic<int> m_nReset{0};

private:
    CMacroStore* m_pMacros;
    CMacroStore* m_pBullets;
};
