// Text catalogues come from installations and translators: any bytes must load without a
// crash, and every id must read as valid UTF-8 without zero bytes afterwards.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "config/TextCatalogue.h"
#include "config/TextEncoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    static CTextCatalogue s_Cat; // reused, as the program reloads one catalogue
    s_Cat.LoadFromBytes(pData, nSize);
    for (const std::string& strId : TextIds()) {
        const std::string& strText = s_Cat.Text(strId);
        if (!TextEncoding::IsValidUtf8(strText.data(), strText.size()) ||
            strText.find('\0') != std::string::npos)
            std::abort();
    }
    if (s_Cat.Text("tc_hz").empty() || s_Cat.Text("tc_gunname1").empty())
        std::abort();
    return 0;
}
