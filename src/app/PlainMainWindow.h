#pragma once
// A plain window titled like the program; it stands where the skinned main window goes and
// comes to the front when a second copy hands over.
#include <QWidget>

class CPlainMainWindow : public QWidget {
    Q_OBJECT
public:
    explicit CPlainMainWindow(const QString& strTitle, QWidget* pParent = nullptr);
    // Message 1132 from the tray or a second copy: lParam 515 shows the window.
    void OnTrayMessage(intptr_t lParam);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
};
