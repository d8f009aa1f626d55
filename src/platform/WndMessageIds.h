#pragma once
// The window messages that cross from one part of the program to another, in one place:
// device threads, dialogs and widgets post them, the main window and the panels take them.
// Messages used inside one window only stay with that window.
#include <cstdint>

enum : uint32_t {
    WM_APPLY_PROGRESS = 1067,   // apply thread -> progress window: wParam = position 0..100
    WM_TRAY_NOTIFY = 1132,      // tray icon, second copy -> main window: lParam = mouse message
    WM_MENUEX_PICK = 1143,      // skinned menu: wParam = item id, lParam = menu kind
    WM_KB_KEY_CLICKED = 1153,   // keyboard picture: wParam = key index
    WM_KB_KEYS_SELECTED = 1154, // keyboard picture: keys selected by a rectangle
    WM_TREE_DBLCLK = 1425,      // tree controls -> their parent
    WM_TREE_RBUTTONUP = 1426,
    WM_TREE_LBUTTONDOWN = 1428,
    WM_TREE_DELETE = 1429,
    WM_KB_PICTURE_MODE = 1430, // keyboard light panel: wParam 1 colour mode, 0 key mode
    WM_KEYSET_SWITCH = 1435,   // KbMonitor thread: wParam = key set 0..2
    WM_PICTURE_BUSY = 1645,    // colour dialogs, apply: wParam 1 busy, 0 idle
    WM_MOUSE_NOTIFY = 2027,    // mouse listener: packed notification report bytes
    WM_MONITOR_NOTIFY = 2030,  // KbMonitor: wParam low byte major, next byte minor
    WM_SLIDER_FINAL = 2048,    // sliders: wParam = value, lParam = slider id
    WM_SLIDER_DRAG = 2049,
};

// What the tray icon's message carries in lParam.
enum : intptr_t { TRAY_DBLCLK = 515, TRAY_RBUTTONUP = 517 };
