#pragma once
// Base of the feature panels the main window hosts (through CPanelHost). A panel is a view:
// it shows the current profile (Reload), makes its edits through the session's operations
// (Store, before an apply, and as the user edits), hears what the session publishes
// (OnSessionChange) and never keeps a copy of a rule. While an apply or a colour dialog runs
// the picture panels pause their own activity (SetBusy).
#include <QImage>
#include <QSize>
#include <QWidget>
#include <string>

struct Profile;
class CSession;
struct CSessionChange;

class CPanelBase : public QWidget {
    Q_OBJECT
public:
    // pszName is the panel's class name; szPanel its size when it has no picture.
    CPanelBase(QWidget* pParent, const char* pszName, QSize szPanel);

    const char* Name() const { return m_pszName; }
    // The session the panel reads and edits through; the host sets it before the first
    // reload.
    void SetSession(CSession* pSession) { m_pSession = pSession; }
    CSession* Session() const { return m_pSession; }
    virtual void Reload(const Profile& pro);
    // Writes what the panel's widgets hold through the session's edit operations. Called
    // with the profile lock held.
    virtual void Store(CSession& session);
    // A change the session made (the host passes on every one).
    virtual void OnSessionChange(const CSessionChange& change);
    virtual void SetBusy(bool bBusy) { m_bBusy = bBusy; }
    bool IsBusy() const { return m_bBusy; }
    // New texts after a language change, new images after a skin change.
    virtual void Retext() { update(); }
    virtual void ReloadSkin();

    // How often the window asked the panel to reload or store (the shell's tests).
    int ReloadCount() const { return m_nReloads; }
    int StoreCount() const { return m_nStores; }
    int HeardCount() const { return m_nHeard; }

protected:
    // The picture drawn behind the name: a file of the skin directory, empty for none. The
    // panel takes the picture's size when the file loads.
    void SetPicture(const std::string& strFile);
    void paintEvent(QPaintEvent*) override;

private:
    const char* m_pszName;
    QSize m_szPanel;
    std::string m_strPicture;
    QImage m_imgPicture;
    CSession* m_pSession = nullptr;
    bool m_bBusy = false;
    int m_nHeard = 0;
    int m_nReloads = 0;
    int m_nStores = 0;
};
