#pragma once
// The plain information box: the platform's own message box with the title "Info".
// printf-style; the text is cut to 259 characters.
void InfoBox(const char* pszFormat, ...) __attribute__((format(printf, 1, 2)));
