// The INI reader and every value form read from it, over arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "config/IniFile.h"
#include "platform/MessageBox.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    static CDiscardingMessageSink sink;
    SetMessageBoxSink(&sink);
    CIniFile ini;
    ini.LoadFromBytes(pData, nSize);
    const char* keys[] = {"A", "B", "List", "Rect", "Pt", "Color"};
    for (const char* pszKey : keys) {
        (void)ini.GetInt("S", pszKey, 1);
        (void)ini.GetString("S", pszKey, "d", 30);
        int32_t list[250];
        (void)ini.GetList("S", pszKey, 10, list, 250);
        (void)ini.GetList("S", pszKey, 16, list, 3);
        (void)ini.GetColor("S", pszKey, 0);
        RECT rc{};
        (void)ini.GetRect("S", pszKey, rc);
        (void)ini.GetPoint("S", pszKey, POINT{1, 2});
    }
    return 0;
}
