// Conversions between the program's ANSI strings and the wide strings of the platform's W
// functions. File names travel wide (a name outside the ANSI code page has no ANSI spelling);
// texts shown and stored stay in the ANSI code page.
#pragma once

#include <string>

// The ANSI text as wide characters.
std::wstring WidenAnsi(const std::string& text);
// The wide text in the ANSI code page; characters it cannot spell become '?'.
std::string NarrowToAnsi(const std::wstring& text);
// True when every character of the wide text has an ANSI spelling that reads back the same.
bool SpellsInAnsi(const std::wstring& text);
