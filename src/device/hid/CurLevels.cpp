#include "device/hid/CurLevels.h"

int g_nCurMode = 0;
int g_nCurDpiLevel[3] = {0, 0, 0};
int g_nCurLODLevel[3] = {0, 0, 0};
