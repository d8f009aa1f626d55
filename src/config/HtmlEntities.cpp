#include "config/HtmlEntities.h"

#include <cctype>
#include <cstdint>
#include <unordered_map>

#include "config/TextEncoding.h"

namespace HtmlEntities {
namespace {

struct EntityName {
    const char* pszName;
    char32_t cp;
};

// The HTML 4.01 character entity set (Latin-1, symbols and Greek, special) and the XML apos.
constexpr EntityName s_Entities[] = {
    // Latin-1
    {"nbsp", 160},
    {"iexcl", 161},
    {"cent", 162},
    {"pound", 163},
    {"curren", 164},
    {"yen", 165},
    {"brvbar", 166},
    {"sect", 167},
    {"uml", 168},
    {"copy", 169},
    {"ordf", 170},
    {"laquo", 171},
    {"not", 172},
    {"shy", 173},
    {"reg", 174},
    {"macr", 175},
    {"deg", 176},
    {"plusmn", 177},
    {"sup2", 178},
    {"sup3", 179},
    {"acute", 180},
    {"micro", 181},
    {"para", 182},
    {"middot", 183},
    {"cedil", 184},
    {"sup1", 185},
    {"ordm", 186},
    {"raquo", 187},
    {"frac14", 188},
    {"frac12", 189},
    {"frac34", 190},
    {"iquest", 191},
    {"Agrave", 192},
    {"Aacute", 193},
    {"Acirc", 194},
    {"Atilde", 195},
    {"Auml", 196},
    {"Aring", 197},
    {"AElig", 198},
    {"Ccedil", 199},
    {"Egrave", 200},
    {"Eacute", 201},
    {"Ecirc", 202},
    {"Euml", 203},
    {"Igrave", 204},
    {"Iacute", 205},
    {"Icirc", 206},
    {"Iuml", 207},
    {"ETH", 208},
    {"Ntilde", 209},
    {"Ograve", 210},
    {"Oacute", 211},
    {"Ocirc", 212},
    {"Otilde", 213},
    {"Ouml", 214},
    {"times", 215},
    {"Oslash", 216},
    {"Ugrave", 217},
    {"Uacute", 218},
    {"Ucirc", 219},
    {"Uuml", 220},
    {"Yacute", 221},
    {"THORN", 222},
    {"szlig", 223},
    {"agrave", 224},
    {"aacute", 225},
    {"acirc", 226},
    {"atilde", 227},
    {"auml", 228},
    {"aring", 229},
    {"aelig", 230},
    {"ccedil", 231},
    {"egrave", 232},
    {"eacute", 233},
    {"ecirc", 234},
    {"euml", 235},
    {"igrave", 236},
    {"iacute", 237},
    {"icirc", 238},
    {"iuml", 239},
    {"eth", 240},
    {"ntilde", 241},
    {"ograve", 242},
    {"oacute", 243},
    {"ocirc", 244},
    {"otilde", 245},
    {"ouml", 246},
    {"divide", 247},
    {"oslash", 248},
    {"ugrave", 249},
    {"uacute", 250},
    {"ucirc", 251},
    {"uuml", 252},
    {"yacute", 253},
    {"thorn", 254},
    {"yuml", 255},
    // symbols, mathematical symbols and Greek letters
    {"fnof", 402},
    {"Alpha", 913},
    {"Beta", 914},
    {"Gamma", 915},
    {"Delta", 916},
    {"Epsilon", 917},
    {"Zeta", 918},
    {"Eta", 919},
    {"Theta", 920},
    {"Iota", 921},
    {"Kappa", 922},
    {"Lambda", 923},
    {"Mu", 924},
    {"Nu", 925},
    {"Xi", 926},
    {"Omicron", 927},
    {"Pi", 928},
    {"Rho", 929},
    {"Sigma", 931},
    {"Tau", 932},
    {"Upsilon", 933},
    {"Phi", 934},
    {"Chi", 935},
    {"Psi", 936},
    {"Omega", 937},
    {"alpha", 945},
    {"beta", 946},
    {"gamma", 947},
    {"delta", 948},
    {"epsilon", 949},
    {"zeta", 950},
    {"eta", 951},
    {"theta", 952},
    {"iota", 953},
    {"kappa", 954},
    {"lambda", 955},
    {"mu", 956},
    {"nu", 957},
    {"xi", 958},
    {"omicron", 959},
    {"pi", 960},
    {"rho", 961},
    {"sigmaf", 962},
    {"sigma", 963},
    {"tau", 964},
    {"upsilon", 965},
    {"phi", 966},
    {"chi", 967},
    {"psi", 968},
    {"omega", 969},
    {"thetasym", 977},
    {"upsih", 978},
    {"piv", 982},
    {"bull", 8226},
    {"hellip", 8230},
    {"prime", 8242},
    {"Prime", 8243},
    {"oline", 8254},
    {"frasl", 8260},
    {"weierp", 8472},
    {"image", 8465},
    {"real", 8476},
    {"trade", 8482},
    {"alefsym", 8501},
    {"larr", 8592},
    {"uarr", 8593},
    {"rarr", 8594},
    {"darr", 8595},
    {"harr", 8596},
    {"crarr", 8629},
    {"lArr", 8656},
    {"uArr", 8657},
    {"rArr", 8658},
    {"dArr", 8659},
    {"hArr", 8660},
    {"forall", 8704},
    {"part", 8706},
    {"exist", 8707},
    {"empty", 8709},
    {"nabla", 8711},
    {"isin", 8712},
    {"notin", 8713},
    {"ni", 8715},
    {"prod", 8719},
    {"sum", 8721},
    {"minus", 8722},
    {"lowast", 8727},
    {"radic", 8730},
    {"prop", 8733},
    {"infin", 8734},
    {"ang", 8736},
    {"and", 8743},
    {"or", 8744},
    {"cap", 8745},
    {"cup", 8746},
    {"int", 8747},
    {"there4", 8756},
    {"sim", 8764},
    {"cong", 8773},
    {"asymp", 8776},
    {"ne", 8800},
    {"equiv", 8801},
    {"le", 8804},
    {"ge", 8805},
    {"sub", 8834},
    {"sup", 8835},
    {"nsub", 8836},
    {"sube", 8838},
    {"supe", 8839},
    {"oplus", 8853},
    {"otimes", 8855},
    {"perp", 8869},
    {"sdot", 8901},
    {"lceil", 8968},
    {"rceil", 8969},
    {"lfloor", 8970},
    {"rfloor", 8971},
    {"lang", 9001},
    {"rang", 9002},
    {"loz", 9674},
    {"spades", 9824},
    {"clubs", 9827},
    {"hearts", 9829},
    {"diams", 9830},
    // markup-significant and internationalisation characters
    {"quot", 34},
    {"amp", 38},
    {"lt", 60},
    {"gt", 62},
    {"OElig", 338},
    {"oelig", 339},
    {"Scaron", 352},
    {"scaron", 353},
    {"Yuml", 376},
    {"circ", 710},
    {"tilde", 732},
    {"ensp", 8194},
    {"emsp", 8195},
    {"thinsp", 8201},
    {"zwnj", 8204},
    {"zwj", 8205},
    {"lrm", 8206},
    {"rlm", 8207},
    {"ndash", 8211},
    {"mdash", 8212},
    {"lsquo", 8216},
    {"rsquo", 8217},
    {"sbquo", 8218},
    {"ldquo", 8220},
    {"rdquo", 8221},
    {"bdquo", 8222},
    {"dagger", 8224},
    {"Dagger", 8225},
    {"permil", 8240},
    {"lsaquo", 8249},
    {"rsaquo", 8250},
    {"euro", 8364},
    // XML
    {"apos", 39},
};

// Longest name in the table; a longer run before ';' cannot be a named reference.
constexpr size_t kMaxNameLen = 9;

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

struct EntityIndex {
    std::unordered_map<std::string, char32_t> exact;
    // lower-case name -> code point for the names with no case partner
    std::unordered_map<std::string, char32_t> folded;

    EntityIndex() {
        std::unordered_map<std::string, int> nFolds;
        for (const EntityName& e : s_Entities) {
            exact.emplace(e.pszName, e.cp);
            ++nFolds[Lower(e.pszName)];
        }
        for (const EntityName& e : s_Entities) {
            std::string strLow = Lower(e.pszName);
            if (nFolds[strLow] == 1)
                folded.emplace(std::move(strLow), e.cp);
        }
    }
};

const EntityIndex& Index() {
    static const EntityIndex s_Index;
    return s_Index;
}

bool IsHex(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

// Parses the reference at s[i] == '&'. On success stores the code point and the length of
// the reference including '&' and ';'.
bool ParseReference(std::string_view s, size_t i, char32_t& cp, size_t& nLen) {
    size_t k = i + 1;
    if (k < s.size() && s[k] == '#') {
        ++k;
        const bool bHex = k < s.size() && (s[k] == 'x' || s[k] == 'X');
        if (bHex)
            ++k;
        const size_t nStart = k;
        uint32_t dwValue = 0;
        while (k < s.size() && (bHex ? IsHex(s[k]) : IsDigit(s[k]))) {
            const char c = s[k];
            const uint32_t nDigit =
                IsDigit(c) ? uint32_t(c - '0')
                           : uint32_t(std::tolower(static_cast<unsigned char>(c)) - 'a' + 10);
            if (dwValue <= 0x10FFFF) // saturates above the largest code point
                dwValue = dwValue * (bHex ? 16 : 10) + nDigit;
            ++k;
        }
        if (k == nStart || k >= s.size() || s[k] != ';')
            return false;
        if (dwValue == 0 || dwValue > 0x10FFFF || (dwValue >= 0xD800 && dwValue <= 0xDFFF))
            return false;
        cp = dwValue;
        nLen = k + 1 - i;
        return true;
    }
    const size_t nStart = k;
    while (k < s.size() && k - nStart <= kMaxNameLen && IsNameChar(s[k]))
        ++k;
    if (k == nStart || k - nStart > kMaxNameLen || k >= s.size() || s[k] != ';')
        return false;
    const int nCode = Find(s.substr(nStart, k - nStart));
    if (nCode < 0)
        return false;
    cp = static_cast<char32_t>(nCode);
    nLen = k + 1 - i;
    return true;
}

} // namespace

int Find(std::string_view strName) {
    if (strName.empty() || strName.size() > kMaxNameLen)
        return -1;
    const EntityIndex& idx = Index();
    const std::string strKey(strName);
    if (auto it = idx.exact.find(strKey); it != idx.exact.end())
        return static_cast<int>(it->second);
    if (auto it = idx.folded.find(Lower(strKey)); it != idx.folded.end())
        return static_cast<int>(it->second);
    return -1;
}

size_t Count() {
    return sizeof(s_Entities) / sizeof(s_Entities[0]);
}

std::string DecodeReferences(std::string_view strText) {
    const size_t nFirst = strText.find('&');
    if (nFirst == std::string_view::npos)
        return std::string(strText);
    std::string out(strText.substr(0, nFirst));
    out.reserve(strText.size());
    for (size_t i = nFirst; i < strText.size();) {
        char32_t cp = 0;
        size_t nLen = 0;
        if (strText[i] == '&' && ParseReference(strText, i, cp, nLen)) {
            TextEncoding::AppendUtf8(out, cp);
            i += nLen;
        } else {
            out += strText[i];
            ++i;
        }
    }
    return out;
}

} // namespace HtmlEntities
