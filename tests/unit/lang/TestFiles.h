// Files beside the test program and the built-in string tables, read independently of the
// code under test.
#pragma once

#include "Platform.h"

#include <map>
#include <string>

// Folder of the running test program, without a trailing backslash.
std::string ExeDirectory();
// Writes a file of raw bytes beside the test program. Every write gets a later modification
// time than the one before, so the platform's INI reader never serves an older copy.
void WriteBesideExe(const std::string& name, const std::string& bytes);
void RemoveBesideExe(const std::string& name);
// Removes every language file beside the test program.
void RemoveAllLanguageFiles();
// Bytes of a whole file; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// The string-table entries of this program built in exactly `language`: identifier -> text.
std::map<UINT, std::wstring> ReadStringTable(LANGID language);
// One entry of the table in exactly `language`, converted to the given code page.
std::string TableText(LANGID language, UINT id, UINT codePage = 1252);
