#pragma once
// Turns the raw bytes of an XML or HTML-ish file into UTF-8 for the XML parser. The
// encoding comes from a byte-order mark, else from the document's own declaration (XML
// encoding attribute or an HTML meta charset), else the bytes are taken as UTF-8 when they
// are valid UTF-8 and as Windows-1252 otherwise (files written on Windows in the ANSI code
// page carry no declaration). Zero bytes (zero units in UTF-16) are dropped, as editors
// sometimes leave them behind and the parser would stop at them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace XmlTextDecoder {

struct Decoded {
    std::string strText;     // UTF-8, never containing a zero byte
    std::string strEncoding; // what was used: "UTF-8", "UTF-16LE", "UTF-16BE", "Windows-1252"
                             // or the declared name handed to iconv
};

Decoded Decode(const uint8_t* pData, size_t nLen);

// The encoding named by an XML declaration or an HTML meta element within the given head of
// a document (zero bytes are ignored); empty when none is named.
std::string FindDeclaredEncoding(std::string_view strHead);

} // namespace XmlTextDecoder
