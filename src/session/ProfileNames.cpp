#include "session/ProfileNames.h"

#include <clocale>
#include <cwctype>
#include <locale.h>

#include "storage/Profile.h"
#include "storage/WideField.h"

namespace {
// Case folding needs a locale that knows Unicode; C.UTF-8 is built into the C library, so
// it does not depend on the locales the user installed. Without it only A to Z fold.
locale_t FoldLocale() {
    static const locale_t s_loc = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(nullptr));
    return s_loc;
}

std::u32string Folded(const std::string& strUtf8) {
    const std::u16string str16 = TextEncoding::Utf8ToUtf16(strUtf8);
    std::u32string str;
    for (size_t i = 0; i < str16.size(); ++i) {
        char32_t c = str16[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < str16.size() && str16[i + 1] >= 0xDC00 &&
            str16[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (str16[i + 1] - 0xDC00);
            ++i;
        }
        if (locale_t loc = FoldLocale())
            c = char32_t(towlower_l(wint_t(c), loc));
        else if (c >= 'A' && c <= 'Z')
            c += 'a' - 'A';
        str.push_back(c);
    }
    return str;
}
} // namespace

std::string StoredProfileName(const std::string& strName) {
    char16_t sz[PROFILE_NAME_LEN];
    SetWideField(sz, PROFILE_NAME_LEN, strName);
    return GetWideField(sz, PROFILE_NAME_LEN);
}

bool SameProfileName(const std::string& a, const std::string& b) {
    return Folded(StoredProfileName(a)) == Folded(StoredProfileName(b));
}
