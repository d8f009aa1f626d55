#include "config/TextCatalogue.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <unordered_map>

#include "config/HtmlEntities.h"
#include "config/Log.h"
#include "config/XmlTextDecoder.h"

CTextCatalogue g_Text;

namespace {

const char* const s_pszGunNames[] = {"M4", "AKM", "M16", "UMP9", "SCAR-L", "TOMPSON", "UZI"};
constexpr int kGunNames = static_cast<int>(sizeof(s_pszGunNames) / sizeof(s_pszGunNames[0]));

// A catalogue is a few hundred short texts; anything this large is not one.
constexpr std::streamoff kMaxFileSize = 64 * 1024 * 1024;

const std::string s_strEmpty;

void AddFamily(std::vector<std::string>& ids, const char* pszFormat, int nCount) {
    for (int n = 1; n <= nCount; ++n) {
        char szId[64];
        std::snprintf(szId, sizeof(szId), pszFormat, n);
        ids.emplace_back(szId);
    }
}

std::vector<std::string> BuildIds() {
    std::vector<std::string> ids = {
        "tc_title",      "tc_mutex",      "tc_config",      "tc_exit",        "tc_version",
        "tc_web",        "tc_facebook",   "tc_twitter",     "tc_restore",     "tc_ok",
        "tc_cancel",     "tc_apply",      "tc_protitle",    "tc_proname",     "tc_tips2",
        "tc_macro",      "tc_macro_stop", "tc_macro_start", "tc_macro_list",  "tc_macro_key_list",
        "tc_macro_auto", "tc_macro_loop", "tc_macro_loop1", "tc_macro_loop2", "tc_macro_loop3"};
    // tc_macro_msg1..36 are separate ids of their own, read right after the loop texts.
    AddFamily(ids, "tc_macro_msg%d", 36);
    const char* const pszMore[] = {"tc_click",
                                   "tc_menu",
                                   "tc_middle",
                                   "tc_forward",
                                   "tc_back",
                                   "tc_scrollup",
                                   "tc_scrolldown",
                                   "tc_dclick",
                                   "tc_mac_def",
                                   "tc_key_off",
                                   "tc_combokey",
                                   "tc_media",
                                   "tc_snipe",
                                   "tc_reportsw",
                                   "tc_three",
                                   "tc_rgb",
                                   "tc_rgbsw",
                                   "tc_stroke",
                                   "tc_mdsw",
                                   "tc_titlt1",
                                   "tc_titlt2",
                                   "tc_dpi",
                                   "tc_dpiadd",
                                   "tc_dpisub",
                                   "tc_dpiloop",
                                   "tc_customkey",
                                   "tc_hz",
                                   "tc_keysnipe",
                                   "tc_keysnipe2",
                                   "tc_dpiaddmin",
                                   "tc_dpisubmin",
                                   "tc_mvl",
                                   "tc_mvr",
                                   "tc_fire",
                                   "tc_fire1",
                                   "tc_fire2",
                                   "tc_fire3",
                                   "tc_PL",
                                   "tc_stop",
                                   "tc_pre_media",
                                   "tc_next_media",
                                   "tc_vol_up",
                                   "tc_vol_dw",
                                   "tc_mute",
                                   "tc_kbmedia_stop",
                                   "tc_kbmedia_search",
                                   "tc_kbmedia_mail",
                                   "tc_kbmedia_main",
                                   "tc_kbmedia_explore",
                                   "tc_kbmedia_cal",
                                   "tc_kbmedia_refresh",
                                   "tc_kbmedia_favor",
                                   "tc_kbmedia_msel"};
    ids.insert(ids.end(), std::begin(pszMore), std::end(pszMore));
    AddFamily(ids, "tc_chiji%d", 20);
    AddFamily(ids, "tc_msg%d", 30);
    AddFamily(ids, "tc_ms%d", 21);
    AddFamily(ids, "tc_kb%d", 7);
    AddFamily(ids, "tc_ms_led%d", 15);
    AddFamily(ids, "tc_ms2_led%d", 15);
    AddFamily(ids, "tc_ms3_led%d", 10);
    AddFamily(ids, "tc_kb_led%d", 17);
    AddFamily(ids, "tc_pad_led%d", 15);
    AddFamily(ids, "tc_game_mode%d", 10);
    AddFamily(ids, "tc_adv_str%d", 10);
    AddFamily(ids, "tc_bullet%d", 20);
    AddFamily(ids, "tc_hw%d", 4);
    ids.insert(ids.end(), {"tc_brightness", "tc_speed", "tc_direct"});
    AddFamily(ids, "tc_sys_str%d", 5);
    AddFamily(ids, "tc_ex%d", 6);
    AddFamily(ids, "tc_gunname%d", kGunNames);
    return ids;
}

const std::unordered_map<std::string_view, int>& IdIndexMap() {
    static const std::unordered_map<std::string_view, int> s_Map = [] {
        std::unordered_map<std::string_view, int> map;
        const std::vector<std::string>& ids = TextIds();
        for (size_t i = 0; i < ids.size(); ++i)
            map.emplace(ids[i], static_cast<int>(i));
        return map;
    }();
    return s_Map;
}

// Parsing keeps references as written (entities are decoded by CharacterContent, which
// knows the HTML names) and keeps white space; comments, processing instructions and the
// document type declaration are recognised and dropped.
constexpr unsigned kParseOptions = pugi::parse_cdata | pugi::parse_ws_pcdata;

} // namespace

const std::vector<std::string>& TextIds() {
    static const std::vector<std::string> s_Ids = BuildIds();
    return s_Ids;
}

int TextIdIndex(std::string_view strId) {
    const auto& map = IdIndexMap();
    const auto it = map.find(strId);
    return it == map.end() ? -1 : it->second;
}

const char* BuiltInGunName(int nGun) {
    return (nGun >= 0 && nGun < kGunNames) ? s_pszGunNames[nGun] : nullptr;
}

CTextCatalogue::CTextCatalogue() : m_Texts(TextIds().size()) {}

void CTextCatalogue::Clear() {
    m_Texts.assign(TextIds().size(), std::string());
}

const std::string& CTextCatalogue::Text(const char* pszId) const {
    return pszId ? Text(TextIdIndex(pszId)) : s_strEmpty;
}

const std::string& CTextCatalogue::Text(int nIndex) const {
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= m_Texts.size())
        return s_strEmpty;
    return m_Texts[static_cast<size_t>(nIndex)];
}

void CTextCatalogue::ApplyFallbacks() {
    std::string& strHz = m_Texts[static_cast<size_t>(TextIdIndex("tc_hz"))];
    if (strHz.empty())
        strHz = "Hz";
    for (int g = 0; g < kGunNames; ++g) {
        const std::string strId = "tc_gunname" + std::to_string(g + 1);
        std::string& strName = m_Texts[static_cast<size_t>(TextIdIndex(strId))];
        if (strName.empty())
            strName = s_pszGunNames[g];
    }
}

bool CTextCatalogue::Load(const std::string& strPath) {
    std::ifstream file(strPath, std::ios::binary);
    std::vector<uint8_t> bytes;
    bool bRead = false;
    if (file) {
        file.seekg(0, std::ios::end);
        const std::streamoff nSize = file.tellg();
        file.seekg(0, std::ios::beg);
        if (nSize >= 0 && nSize <= kMaxFileSize) {
            bytes.resize(static_cast<size_t>(nSize));
            bRead = nSize == 0 ||
                    static_cast<bool>(file.read(reinterpret_cast<char*>(bytes.data()), nSize));
        }
    }
    if (!bRead) {
        LogPrint("Text catalogue %s cannot be read\n", strPath.c_str());
        Clear();
        ApplyFallbacks();
        return false;
    }
    if (!LoadFromBytes(bytes.data(), bytes.size()))
        LogPrint("Text catalogue %s is malformed; the texts before the fault are used\n",
                 strPath.c_str());
    return true;
}

bool CTextCatalogue::LoadFromBytes(const void* pData, size_t nLen) {
    const XmlTextDecoder::Decoded text =
        XmlTextDecoder::Decode(static_cast<const uint8_t*>(pData), nLen);
    pugi::xml_document doc;
    const pugi::xml_parse_result res = Parse(doc, text.strText);

    // The same search as Lookup for every id at once: one pass over each nested config
    // level, the first element of a name at the shallowest level wins.
    const size_t nIds = TextIds().size();
    std::vector<pugi::xml_node> found(nIds);
    for (pugi::xml_node cfg = doc.document_element().child("config"); cfg;
         cfg = cfg.child("config")) {
        for (pugi::xml_node el = cfg.first_child(); el; el = el.next_sibling()) {
            if (el.type() != pugi::node_element)
                continue;
            const int nIndex = TextIdIndex(el.name());
            if (nIndex >= 0 && !found[static_cast<size_t>(nIndex)])
                found[static_cast<size_t>(nIndex)] = el;
        }
    }
    for (size_t i = 0; i < nIds; ++i)
        m_Texts[i] = found[i] ? CharacterContent(found[i]) : std::string();
    ApplyFallbacks();
    return static_cast<bool>(res);
}

pugi::xml_parse_result CTextCatalogue::Parse(pugi::xml_document& doc, std::string_view strUtf8) {
    return doc.load_buffer(strUtf8.data(), strUtf8.size(), kParseOptions, pugi::encoding_utf8);
}

std::string CTextCatalogue::Lookup(const pugi::xml_document& doc, const char* pszParent,
                                   const char* pszId) {
    if (!pszParent || !pszId)
        return {};
    for (pugi::xml_node cfg = doc.document_element().child(pszParent); cfg;
         cfg = cfg.child(pszParent)) {
        if (pugi::xml_node el = cfg.child(pszId))
            return CharacterContent(el);
    }
    return {};
}

std::string CTextCatalogue::CharacterContent(const pugi::xml_node& node) {
    if (node.find_child([](const pugi::xml_node& n) { return n.type() == pugi::node_element; }))
        return {};
    std::string strText;
    for (pugi::xml_node n = node.first_child(); n; n = n.next_sibling()) {
        if (n.type() == pugi::node_pcdata)
            strText += HtmlEntities::DecodeReferences(n.value());
        else if (n.type() == pugi::node_cdata)
            strText += n.value();
    }
    return strText;
}

const std::string& Txt(const char* pszId) {
    return g_Text.Text(pszId);
}
