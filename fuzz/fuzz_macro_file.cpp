// Macro files over arbitrary bytes: the three forms, validation, names, and the written
// form reading back as the same record.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "storage/MacroFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    for (EMacroForm form : {EMacroForm::PlainAllowed, EMacroForm::Enciphered}) {
        StMacro rec;
        if (!DecodeMacroBytes(pData, nSize, form, rec))
            continue;
        for (int nMask : {0, 1, 0x7F})
            (void)MacroMouseCodesAllowed(rec, nMask);
        std::string strName = MacroName(rec);
        std::string strSafe = SafeNameFromFile(strName);
        if (strSafe.empty() || strSafe.find('/') != std::string::npos || strSafe == "..")
            abort();
        std::string strCheck = strName;
        (void)CheckMacroName(strCheck);
        uint8_t buf[MACRO_FILE_SIZE];
        EncodeMacroBytes(rec, buf);
        StMacro back;
        if (!DecodeMacroBytes(buf, sizeof(buf), EMacroForm::Enciphered, back) ||
            std::memcmp(&back, &rec, sizeof(rec)) != 0)
            abort();
    }
    return 0;
}
