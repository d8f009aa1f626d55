#pragma once
// The mouse's mode and active levels as the device reports them: set by discovery and by
// the window when the mouse's own buttons change them.
extern int g_nCurMode;        // mode read at discovery: 1..3, 0xFF unknown
extern int g_nCurDpiLevel[3]; // current resolution level index of modes 1..3
extern int g_nCurLODLevel[3]; // current lift-off level index of modes 1..3
