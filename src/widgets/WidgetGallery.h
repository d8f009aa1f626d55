#pragma once
// The widget gallery: every skinned control in every state over the demo skin, for looking
// at a skin and for screenshots. `velkin --widget-gallery [--grab file.png]`.
#include <QImage>

class QWidget;

// Loads the installation's configuration when gVar is still empty, shows the gallery and
// runs until it closes; with --grab <file> it writes a screenshot instead and returns.
// Works with or without an existing QApplication.
int RunWidgetGallery(int argc, char** argv);
// The gallery window over the current skin (not shown yet).
QWidget* CreateWidgetGallery();
// A picture of the gallery with the drop-down menu of its pressed combo button open.
QImage GrabWidgetGallery(QWidget* pGallery);
