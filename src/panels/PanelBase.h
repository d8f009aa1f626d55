#pragma once
// Base of the feature panels the main window hosts. The window creates a panel only for its
// family, places, shows and hides it, hands it the current profile to show (Reload) and asks
// it to write its widgets back (Store) before an apply. While an apply or a colour dialog
// runs the picture panels pause their own activity (SetBusy).
#include <QImage>
#include <QSize>
#include <QWidget>
#include <string>

struct Profile;

class CPanelBase : public QWidget {
    Q_OBJECT
public:
    // pszName is the panel's class name; szPanel its size when it has no picture.
    CPanelBase(QWidget* pParent, const char* pszName, QSize szPanel);

    const char* Name() const { return m_pszName; }
    virtual void Reload(const Profile& pro);
    virtual void Store(Profile& pro);
    virtual void SetBusy(bool bBusy) { m_bBusy = bBusy; }
    bool IsBusy() const { return m_bBusy; }
    // New texts after a language change, new images after a skin change.
    virtual void Retext() { update(); }
    virtual void ReloadSkin();

    // How often the window asked the panel to reload or store (the shell's tests).
    int ReloadCount() const { return m_nReloads; }
    int StoreCount() const { return m_nStores; }

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
    bool m_bBusy = false;
    int m_nReloads = 0;
    int m_nStores = 0;
};
