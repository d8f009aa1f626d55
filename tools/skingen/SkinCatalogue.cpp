#include "SkinCatalogue.h"

#include "DialogPainters.h"
#include "ShellPainters.h"
#include "SkinPainters.h"

namespace {
// Adds name_nr, name_ov and name_dn drawn by one state painter.
void AddStates(std::vector<SkinImageSpec>& v, const std::string& strBase,
               const std::function<QImage(int)>& fn) {
    static const char* const kSuffix[3] = {"_nr.png", "_ov.png", "_dn.png"};
    for (int i = 0; i < 3; ++i)
        v.push_back({strBase + kSuffix[i], [fn, i] { return fn(i); }});
}
} // namespace

std::vector<SkinImageSpec> SkinFolderImages() {
    using namespace SkinPainters;
    std::vector<SkinImageSpec> v;
    AddStates(v, "button", [](int s) { return Button(QSize(104, 30), s); });
    AddStates(v, "button2", [](int s) { return Button(QSize(140, 32), s); });
    AddStates(v, "button3", [](int s) { return Button(QSize(96, 30), s); });
    AddStates(v, "combo", [](int s) { return Combo(QSize(150, 28), s); });
    AddStates(v, "Check", [](int s) { return Check(17, s); });
    AddStates(v, "radio", [](int s) { return Radio(17, s); });
    AddStates(v, "exit", [](int s) { return Glyph(26, s, 'x'); });
    AddStates(v, "min", [](int s) { return Glyph(26, s, '-'); });
    AddStates(v, "tab", [](int s) { return Tab(QSize(120, 32), s); });
    AddStates(v, "thumb", [](int s) { return Thumb(16, s); });
    v.push_back({"bar.png", [] { return Track(QSize(220, 16), false); }});
    v.push_back({"bar_ov.png", [] { return Track(QSize(220, 16), true); }});
    v.push_back({"mark.png", [] { return Mark(QSize(2, 12)); }});
    v.push_back({"mouse/dpi-bar.png", [] { return Track(QSize(200, 16), false); }});
    v.push_back({"mouse/dpi-bar-ov.png", [] { return Track(QSize(200, 16), true); }});
    v.push_back({"mouse/dpi-thumb.png", [] { return Thumb(18, 0); }});
    v.push_back({"mouse/mouse_nr.png", [] { return MousePicture(QSize(360, 380), false, false); }});
    v.push_back({"mouse/mouse_dn.png", [] { return MousePicture(QSize(360, 380), true, false); }});
    v.push_back({"mouse/mouse2_nr.png", [] { return MousePicture(QSize(360, 380), false, true); }});
    v.push_back({"ms_mk.skn", [] { return MouseLightMask(QSize(360, 380)); }});
    v.push_back({"menu_nr.bmp", [] { return MenuItem(QSize(160, 25), false, false); }});
    v.push_back({"menu_ov.bmp", [] { return MenuItem(QSize(160, 25), true, false); }});
    v.push_back({"menusub_nr.bmp", [] { return MenuItem(QSize(160, 25), false, true); }});
    v.push_back({"menusub_ov.bmp", [] { return MenuItem(QSize(160, 25), true, true); }});
    v.push_back({"folder_open.png", [] { return Folder(16, true); }});
    v.push_back({"folder_close.png", [] { return Folder(16, false); }});
    v.push_back({"tree_item.png", [] { return TreeItem(16); }});
    v.push_back({"main_nr.png", [] { return MainWindow(QSize(1000, 650)); }});
    AddStates(v, "dot", [](int s) { return Dots(30, s); });
    // The main window: tab headers, macro/bullet buttons, profile buttons, device icons.
    AddStates(v, "header", [](int s) { return Tab(QSize(245, 25), s); });
    AddStates(v, "btn", [](int s) { return Button(QSize(100, 24), s); });
    AddStates(v, "add", [](int s) { return GlyphButton(QSize(46, 20), s, '+'); });
    AddStates(v, "del", [](int s) { return GlyphButton(QSize(46, 20), s, '-'); });
    v.push_back({"ms.png", [] { return DeviceIcon(20, 'm'); }});
    v.push_back({"kb.png", [] { return DeviceIcon(20, 'k'); }});
    v.push_back({"pad.png", [] { return DeviceIcon(20, 'p'); }});
    v.push_back({"pad_nr.png", [] { return PadPicture(QSize(360, 260)); }});
    v.push_back({"progress_nr.png", [] { return ProgressWindow(QSize(530, 140), false); }});
    v.push_back({"progress_ov.png", [] { return ProgressWindow(QSize(530, 140), true); }});
    v.push_back({"pickfundlg.png", [] { return OptionsDialog(QSize(470, 320)); }});
    for (const auto& e : MessageBoxImages())
        v.push_back(e);
    return v;
}

std::vector<SkinImageSpec> MessageBoxImages() {
    using namespace SkinPainters;
    return {
        {"msg_nr.png", [] { return MessageBox(QSize(520, 220)); }},
        {"msgico.png", [] { return MessageIcon(40); }},
    };
}
