#include "widgets/DialogRegistry.h"

#include <QDialog>
#include <QPointer>
#include <utility>

namespace {
struct Entry {
    std::string strTitle;
    QPointer<QWidget> pDlg;
};
std::vector<Entry>& Entries() {
    static std::vector<Entry> s_v;
    return s_v;
}
void Prune() {
    auto& v = Entries();
    std::erase_if(v, [](const Entry& e) { return e.pDlg.isNull(); });
}
} // namespace

namespace DialogRegistry {
void Register(const std::string& strTitle, QWidget* pDlg) {
    if (!pDlg)
        return;
    Unregister(pDlg);
    Entries().push_back({strTitle, pDlg});
}

void Unregister(QWidget* pDlg) {
    std::erase_if(Entries(), [pDlg](const Entry& e) { return e.pDlg == pDlg || e.pDlg.isNull(); });
}

std::vector<QWidget*> Find(const std::string& strTitle) {
    Prune();
    std::vector<QWidget*> v;
    for (const auto& e : Entries())
        if (e.strTitle == strTitle)
            v.push_back(e.pDlg.data());
    return v;
}

int CloseAll(const std::string& strTitle) {
    int n = 0;
    // Closing a dialog ends its exec loop and may unregister it: work on a copy.
    for (QWidget* p : Find(strTitle)) {
        QPointer<QWidget> guard(p);
        if (auto* pDlg = qobject_cast<QDialog*>(p))
            pDlg->reject();
        else
            p->close();
        if (guard)
            Unregister(guard.data());
        ++n;
    }
    return n;
}
} // namespace DialogRegistry
