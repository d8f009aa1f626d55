#pragma once
// Reader of the installation's INI files (cfg.ini, ProCfg.ini, lang.ini).
//
// Sections and keys are matched without regard to case; the first occurrence of a section
// or key wins. Files may be in the system code page (UTF-8 when valid, else Windows-1252)
// or UTF-16LE with a byte-order mark, with CRLF or LF line ends. Values are trimmed of blanks
// and a pair of surrounding quotes, as the Windows profile functions do. Every value is
// handed out as UTF-8.
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

struct RECT {
    int32_t left, top, right, bottom;
    bool operator==(const RECT&) const = default;
};
struct POINT {
    int32_t x, y;
    bool operator==(const POINT&) const = default;
};

// An item written with 0x where a value holds hexadecimal numbers, which are written as bare
// digits. Such an item ends the list like any other non-digit, as other installations read
// the same file; the author most likely meant the number, so readers keep a note of it.
struct CIniHexPrefixNote {
    std::string strFile; // the file's name without its folder; empty for bytes loaded directly
    std::string strSection, strKey, strItem; // as spelled in the file
    bool operator==(const CIniHexPrefixNote&) const = default;
};

class CIniFile {
public:
    CIniFile() = default;
    // Loads a file; a missing file gives an empty reader (every key missing).
    explicit CIniFile(const std::string& strPath);
    bool Load(const std::string& strPath);
    void LoadFromBytes(const void* pData, size_t nLen);
    bool IsLoaded() const { return m_bLoaded; }
    const std::string& Path() const { return m_strPath; }

    // Raw value, nullopt when the key is missing.
    std::optional<std::string> Raw(const std::string& strSection, const std::string& strKey) const;
    bool HasSection(const std::string& strSection) const;

    // Integer: decimal or 0x hexadecimal, optional sign; what follows the number is ignored.
    // Missing key or no number: nDefault.
    int32_t GetInt(const std::string& strSection, const std::string& strKey,
                   int32_t nDefault) const;
    // String cut to nBufLen - 1 characters (the buffer size in characters).
    std::string GetString(const std::string& strSection, const std::string& strKey,
                          const std::string& strDefault, size_t nBufLen) const;
    // Number list: split at commas, empty items skipped, blanks around an item ignored;
    // stops at the first item with anything but digits of nBase (a 0x prefix included: only
    // single integers take it) and at nCapacity. Returns the count taken. In base 16 the
    // items written with 0x are noted (HexPrefixNotes).
    int GetList(const std::string& strSection, const std::string& strKey, int nBase, int32_t* pOut,
                int nCapacity) const;
    int GetList(const std::string& strSection, const std::string& strKey, int nBase,
                std::vector<int32_t>& vOut, int nCapacity) const;
    // Colour R,G,B as R + G*256 + B*65536; missing components are 0; missing key: clrDefault.
    uint32_t GetColor(const std::string& strSection, const std::string& strKey,
                      uint32_t clrDefault) const;
    // Rectangle left,top,right,bottom. Missing or empty key: rc untouched, false, silent.
    // Fewer than four numbers: "Wrong rect num" (title "Error"), rc untouched, false.
    bool GetRect(const std::string& strSection, const std::string& strKey, RECT& rc) const;
    // Point x,y: starts as ptDefault; fewer than two numbers: "Wrong POINT num" (title "Error").
    POINT GetPoint(const std::string& strSection, const std::string& strKey, POINT ptDefault) const;

    // Items written with 0x in the values read as hexadecimal numbers so far, in reading
    // order, each once.
    const std::vector<CIniHexPrefixNote>& HexPrefixNotes() const { return m_vHexPrefixNotes; }
    // Notes the items of a value that readers outside this class parse as numbers: pBases[i]
    // is the base of the i-th non-empty item (nItems of them are read; pBases null: all 16).
    void NoteHexPrefixes(const std::string& strSection, const std::string& strKey,
                         const std::string& strValue, const int* pBases, int nItems) const;

    // Parsing helpers shared with other readers of the same value forms.
    static std::optional<int32_t> ParseInt(const std::string& strValue);
    // One list item: digits of nBase only, fitting 32 bits. A 0x prefix is no digit.
    static bool ParseDigits(const std::string& strItem, int nBase, uint32_t& dwOut);
    // Whether an item (blanks around it ignored) starts with 0x or 0X.
    static bool HasHexPrefix(const std::string& strItem);
    static int ParseList(const std::string& strValue, int nBase, int32_t* pOut, int nCapacity);
    static uint32_t ParseColor(const std::string& strValue);
    // Converts the file's bytes to UTF-8 (BOM, UTF-16LE, system code page).
    static std::string DecodeText(const void* pData, size_t nLen);

private:
    static std::string Fold(const std::string& s);
    struct Section {
        std::unordered_map<std::string, std::string> mapValues; // folded key -> value
    };
    std::unordered_map<std::string, Section> m_mapSections; // folded name -> section
    std::string m_strPath;
    bool m_bLoaded = false;
    // What reading came across; readers take the file as const.
    mutable std::vector<CIniHexPrefixNote> m_vHexPrefixNotes;
};

// Writes one key of an INI file (lang.ini), keeping every other line; atomic replacement.
bool WriteIniValue(const std::string& strPath, const std::string& strSection,
                   const std::string& strKey, const std::string& strValue);
