#pragma once
// The profile session: what the program and velkinctl share of a running installation. It
// holds the device models with their drivers and apply threads, the profile list with its
// lock and current profile, the macro and bullet stores, and the device state (the mouse's
// mode and active levels as the device reports them), and it carries out every operation a
// user starts on them with its rules and messages. The window and velkinctl only choose
// what to ask and show what happened; neither holds a copy of a rule.
//
// Threads: everything here runs on one thread (the program's user-interface thread, or
// velkinctl's only one), except that the apply threads take their snapshot of the current
// profile under mtxProfile. Whoever writes into the current profile or makes another
// profile current holds mtxProfile meanwhile (LockProfile); the operations here do so
// themselves and never hold it while they ask the user something.
//
// Listeners hear of every change an operation made, synchronously, on the thread that ran
// the operation and without the lock held.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "config/GlobalVar.h"
#include "device/models/ApplyThread.h"
#include "device/models/DeviceFamily.h"
#include "device/models/HidDev.h"
#include "session/SessionUi.h"
#include "storage/MacroStore.h"
#include "storage/ProfileStore.h"

// Profiles the new-profile operation allows (the store file holds no more).
inline constexpr int PROFILE_CREATE_MAX = 12;

// What changed; nValue says more where noted.
enum class ESessionChange {
    ProfileList,    // profiles added or removed
    CurrentProfile, // another profile became current (or the current one was reloaded)
    ProfileName,    // the current profile was renamed
    Mode,           // the current profile's mouse mode changed (nValue = mode 0..2)
    KeySet,         // the key set to show in mode 1 changed (nValue = key set 0..2)
    DeviceState,    // the device's mode or active levels changed
    ApplyDone,      // an apply ended and its outcome was shown (nValue = family)
};

struct CSessionChange {
    ESessionChange eWhat;
    int nValue = 0;
};

class ISessionListener {
public:
    virtual ~ISessionListener() = default;
    virtual void OnSessionChange(const CSessionChange& change) = 0;
};

// Why an apply request cannot go out (CheckApply).
enum class EApplyRefusal {
    None,         // it may go
    GunKeys,      // gun keys of mode 1 without the preset switch key (tc_chiji7)
    NotConnected, // the family's device is not connected and GoWithNoDev is 0 (tc_msg13)
    NoFamily,     // no such family in this installation
};

class CSession {
public:
    // The stores are the ones the profiles' keys refer to (the program's MacroStore and
    // BulletStore); var must outlive the session.
    CSession(CGlobalVar& v, CMacroStore& macroStore, CMacroStore& bulletStore);
    // The program's stores.
    explicit CSession(CGlobalVar& v) : CSession(v, MacroStore, BulletStore) {}
    ~CSession();
    CSession(const CSession&) = delete;
    CSession& operator=(const CSession&) = delete;

    CGlobalVar& var;
    CMacroStore& macros;
    CMacroStore& bullets;

    std::unique_ptr<CHidDev> pMs;
    std::unique_ptr<CHidDev> pKb;
    std::unique_ptr<CHidDev> pPad;
    std::unique_ptr<CHidDev> pCompanion; // the keyboard part of a mouse, when configured

    CProList proList;
    std::mutex mtxProfile;

    std::unique_ptr<CApplyThread> pApplyMs;
    std::unique_ptr<CApplyThread> pApplyKb;
    std::unique_ptr<CApplyThread> pApplyPad;

    std::unique_lock<std::mutex> LockProfile() { return std::unique_lock<std::mutex>(mtxProfile); }
    Profile* Current() const { return proList.Current(); }

    // Devices, models and apply threads by family (EFamily); null when not configured.
    CHidDev* Dev(int nFamily) const;
    CApplyThread* Apply(int nFamily) const;
    // The configured families in device-list order.
    std::vector<int> ConfiguredFamilies() const;
    // Connected: the family's model exists and its driver holds a device handle.
    bool Connected(int nFamily) const;
    // The mouse's firmware has gun keys, bullets and key configuration files.
    bool GunFw() const;
    // One apply thread per configured family, reporting to this session; pFinder is the
    // progress window lookup for requests that come without a sink (null: none).
    void StartApplyThreads(IProgressFinder* pFinder = nullptr);
    // Stops and joins the apply threads; an apply in progress ends first.
    void StopApplyThreads();
    // Shuts every model's driver down (closes handles, ends the mouse's listener).
    void ShutdownDrivers();

    void AddListener(ISessionListener* pListener);
    void RemoveListener(ISessionListener* pListener);

    // ---- Device state: the mouse's mode (1..3, 0 or 0xFF unknown) and the active
    // resolution and lift-off level of each mode, as the device reports them.
    int DevMode() const;
    void SetDevMode(int nMode);
    int DpiLevel(int nModeIndex) const;
    void SetDpiLevel(int nModeIndex, int nLevel);
    int LodLevel(int nModeIndex) const;
    void SetLodLevel(int nModeIndex, int nLevel);

    // ---- Profiles.
    // Empties the list, reads pro.dct and curid.dct, appends ProfileNum default profiles
    // (with the key presets) when either gave nothing, and makes the stored id current.
    // bKeepAside: an unusable pro.dct is renamed first (only when the caller may save).
    void LoadProfiles(bool bKeepAside = true);
    bool Loaded() const { return m_bLoaded; }
    // Profiles the last load read from the store, and default profiles it made.
    int LoadedFromStore() const { return m_nLoadedFromStore; }
    int DefaultsMade() const { return m_nDefaultsMade; }
    // Makes the profile current; false when there is none with that id.
    bool Select(uint32_t dwId);
    // A profile by id (decimal or 0x hexadecimal) or else by name (any letter case, as the
    // record stores it); null when neither matches.
    Profile* FindProfile(const std::string& strIdOrName) const;
    // The new-profile limit: false (after telling the user) when no profile can be added.
    bool CheckProfileLimit(ISessionUi& ui) const;
    // Asks for a name, refuses one that an existing profile has in any letter case, adds a
    // default profile of that name, makes it current and saves. The new profile, or null.
    Profile* NewProfile(ISessionUi& ui);
    // Deletes a profile after the user confirmed; the last profile cannot be deleted. The
    // first profile becomes current when the current one went; saves.
    bool DeleteProfile(uint32_t dwId, ISessionUi& ui);
    // Asks for a new name (cut to 19 characters). Not saved here.
    bool RenameProfile(uint32_t dwId, ISessionUi& ui);
    // Key set 0 of every mode from the key preset of the profile's list position.
    void ResetKeys(Profile& profile);
    // pro.dct, then curid.dct; false when either could not be written.
    bool Save();

    // ---- Modes.
    // The current profile's mouse mode; with bWrite the mouse is told too (a failure is
    // only logged: the profile keeps the new mode).
    void SwitchMode(int nMode, bool bWrite);
    // Follows the mode the mouse reported, without writing to it.
    void SyncMode();
    // The key-set switch of the companion keyboard: mode 1 (written), then key set k shown.
    void SwitchKeySet(int nKeySet);
    // After an apply: the mode the mouse reads back becomes the profile's (logged).
    void ReadBackMode();

    // ---- Apply and reset.
    // Gun keys of mode 1 in their key set need the preset-switch key beside them while the
    // gun option is on.
    bool GunCheckFails(const Profile& profile) const;
    // Whether a full apply of the family may go out; tells the user why not. The two checks
    // it makes, in its order: the gun keys, then the device's connection.
    EApplyRefusal CheckApply(int nFamily, ISessionUi& ui) const;
    EApplyRefusal CheckGunKeys(ISessionUi& ui) const;
    EApplyRefusal CheckConnected(int nFamily, ISessionUi& ui) const;
    // Wakes the family's apply thread with nFlag and a snapshot of the current profile and
    // the macros its keys use, taken now under the lock; pSink gets the progress (null: the
    // thread may look a progress window up by title). False when nothing was woken (no
    // thread, the pad's still busy with a full request, or the request queue full).
    bool RequestApply(int nFamily, int nFlag, IProgressSink* pSink = nullptr);
    bool RequestFullApply(int nFamily, IProgressSink* pSink = nullptr);
    // The companion keyboard's key-set switch: key set k of mode 1, written to the mouse's
    // keys at once. False when nothing changed.
    bool CompanionKeySet(int nKeySet);

    // ---- Apply outcomes. The apply threads hand them over to the session; they reach the user on
    // the session's own thread: the poster (set by a front end with an event loop) schedules
    // DeliverApplyOutcomes there, and anyone on that thread may call it to deliver what is pending
    // at once. Delivering sets the pointer settings the apply asked for (through the platform's
    // pointer settings), shows its boxes (through the platform's message box) and tells the
    // listeners.
    void SetPoster(std::function<void(std::function<void()>)> fnPost);
    void DeliverApplyOutcomes();
    // Outcomes handed over and not delivered yet.
    size_t PendingOutcomes();
    // The reset of the family's region of the current profile, after the user confirmed:
    // the sound, the model's defaults and reset flag, the key presets and default levels of
    // the mouse. Returns whether the device should be written now (connected or ApplyNow);
    // false as well when the user said no (bDone false then).
    bool ResetFamily(int nFamily, ISessionUi& ui, bool& bDone);

    // ---- Files.
    bool ExportProfile(uint32_t dwId, const std::string& strPath, ISessionUi& ui);
    // Adds the profile of a .bkm file with its macros, makes it current and saves.
    Profile* ImportProfile(const std::string& strPath, ISessionUi& ui);
    bool ExportKeyCfg(const std::string& strPath, ISessionUi& ui);
    bool ImportKeyCfg(const std::string& strPath, ISessionUi& ui);

    // The program directory's profile sound.
    std::string DefaultSoundPath() const;

private:
    void Notify(ESessionChange eWhat, int nValue = 0);
    // Sets one value of the device state; listeners hear of a change.
    bool SetValue(int& nTarget, int nValue);
    void SetModeLocked(Profile& profile, int nMode);

    // Takes a family's apply outcomes on its apply thread.
    class CFamilyListener : public IApplyListener {
    public:
        CFamilyListener(CSession& session, int nFamily) : m_session(session), m_nFamily(nFamily) {}
        void OnApplyDone(CApplyOutcome outcome) override;

    private:
        CSession& m_session;
        int m_nFamily;
    };

    std::vector<ISessionListener*> m_vListeners;
    std::mutex m_mtxOutcomes; // the apply threads add, the session's thread takes
    std::deque<std::pair<int, CApplyOutcome>> m_dqOutcomes;
    std::function<void(std::function<void()>)> m_fnPost;
    CFamilyListener m_aListeners[FAMILY_COUNT] = {
        {*this, FAMILY_MOUSE}, {*this, FAMILY_KEYBOARD}, {*this, FAMILY_PAD}};
    bool m_bLoaded = false;
    int m_nLoadedFromStore = 0;
    int m_nDefaultsMade = 0;
};
