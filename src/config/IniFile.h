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
    // stops at the first item with anything but digits of nBase (an optional 0x prefix is
    // allowed in base 16) and at nCapacity. Returns the count taken.
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

    // Parsing helpers shared with other readers of the same value forms.
    static std::optional<int32_t> ParseInt(const std::string& strValue);
    // One list item: digits of nBase only (a 0x prefix allowed in base 16), fitting 32 bits.
    static bool ParseDigits(const std::string& strItem, int nBase, uint32_t& dwOut);
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
};

// Writes one key of an INI file (lang.ini), keeping every other line; atomic replacement.
bool WriteIniValue(const std::string& strPath, const std::string& strSection,
                   const std::string& strKey, const std::string& strValue);
