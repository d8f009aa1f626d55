#pragma once
// What the options dialog needs of the main window: a language or skin chosen in the dialog
// takes effect at once, so the main window must re-read its texts or its skin images. The
// main window runs both itself too (at start-up), so they live there.
class IMainWindowSkin {
public:
    virtual ~IMainWindowSkin() = default;
    // Sets every caption and panel text anew from the text catalogue g_Text.
    virtual void RetextAll() = 0;
    // Loads the skin images anew from the skin directory of gVar and redraws.
    virtual void ReloadSkin() = 0;
};
