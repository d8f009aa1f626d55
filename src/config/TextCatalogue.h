#pragma once
// The user-visible texts in the user's language, read from text.xml and addressed by text
// id (tc_title, tc_msg13, ...). The program carries no translations of its own: an id the
// catalogue lacks reads as an empty text, apart from the few fallbacks applied by Load.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

// Every text id, in the order the catalogue is read (329 ids).
const std::vector<std::string>& TextIds();
// Position of an id in TextIds(), or -1.
int TextIdIndex(std::string_view strId);
// Name of gun preset 0..6 used when tc_gunname<n+1> is empty; nullptr outside that range.
const char* BuiltInGunName(int nGun);

class CTextCatalogue {
public:
    CTextCatalogue();

    // Reads the catalogue and replaces every stored text; ids the file lacks become empty,
    // then the fallbacks apply (tc_hz "Hz", the built-in gun names). A file that cannot be
    // read leaves only the fallbacks and returns false; malformed content is used as far
    // as it parsed and still returns true.
    bool Load(const std::string& strPath);
    // Load from bytes already in memory. Returns true when the document parsed without error.
    bool LoadFromBytes(const void* pData, size_t nLen);
    // Every text empty, no fallbacks (the state before the first Load).
    void Clear();

    // The stored text of an id; an unknown id reads as the empty string.
    const std::string& Text(const std::string& strId) const { return Text(TextIdIndex(strId)); }
    const std::string& Text(const char* pszId) const;
    const std::string& Text(int nIndex) const;

    // Parses decoded UTF-8 text the way catalogues are parsed: the tree recognised before
    // a syntax error is kept, references are left as written for CharacterContent.
    static pugi::xml_parse_result Parse(pugi::xml_document& doc, std::string_view strUtf8);
    // The text of id inside the element named strParent below the root: the first child
    // strParent of the root, the first child strId in it, else the same search one level
    // deeper inside a nested strParent. Empty when not found.
    static std::string Lookup(const pugi::xml_document& doc, const char* pszParent,
                              const char* pszId);
    // An element's character data with references decoded and CDATA taken literally;
    // empty when the element holds child elements.
    static std::string CharacterContent(const pugi::xml_node& node);

private:
    void ApplyFallbacks();

    std::vector<std::string> m_Texts; // indexed like TextIds()
};

extern CTextCatalogue g_Text;

// The text of an id in g_Text.
const std::string& Txt(const char* pszId);
