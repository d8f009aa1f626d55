#include "widgets/InfoBox.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "platform/MessageBox.h"

void InfoBox(const char* pszFormat, ...) {
    char sz[260];
    va_list args;
    va_start(args, pszFormat);
    std::vsnprintf(sz, sizeof(sz), pszFormat, args);
    va_end(args);
    std::string str(sz);
    // A cut inside a UTF-8 sequence would leave a broken character at the end.
    size_t n = str.size();
    size_t nLead = n;
    while (nLead > 0 && (static_cast<unsigned char>(str[nLead - 1]) & 0xC0) == 0x80)
        --nLead;
    if (nLead > 0 && (static_cast<unsigned char>(str[nLead - 1]) & 0x80)) {
        const unsigned char c = static_cast<unsigned char>(str[nLead - 1]);
        const size_t nNeed = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        if (n - (nLead - 1) < nNeed)
            str.resize(nLead - 1);
    }
    PlatformMessageBox("Info", str);
}
