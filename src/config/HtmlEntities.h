#pragma once
// Character and entity references in the character data of text catalogues. Catalogues are
// written by translators with HTML habits, so besides the XML references every HTML 4 named
// entity is understood, and names are matched without regard to case where that is unique.
#include <string>
#include <string_view>

namespace HtmlEntities {
// Code point of a named entity, or -1. An exact spelling always matches. Other spellings
// match without regard to case, except for names where HTML 4 has a capital and a small
// form (Eacute/eacute, hArr/harr, ...): those only match as written, because a spelling
// like EACUTE cannot say which of the two is meant.
int Find(std::string_view strName);
// Number of names in the table (the HTML 4 set plus apos).
size_t Count();
// Replaces the named, decimal (&#233;) and hexadecimal (&#xE9;) references in UTF-8 text.
// A reference that names no character (unknown name, no ';', code 0, a surrogate, above
// 0x10FFFF) stays as written, so does an ampersand that starts no reference.
std::string DecodeReferences(std::string_view strText);
} // namespace HtmlEntities
