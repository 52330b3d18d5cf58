// Command-line parsing: the command line is split into items by the system's rules (blanks
// separate, quotes group, backslashes escape quotes), a leading "/" or "-" marks a flag and is
// stripped, and ParseParam is called for every item in order. The first plain item is the
// file name. The command line is parsed wide, so a file name outside the ANSI code page
// arrives intact; an ANSI command line is widened first.
#pragma once

#include <string>
#include <vector>

class CCommandLineInfo {
public:
    virtual ~CCommandLineInfo() = default;

    // Called for each item; flag is true when the item began with "/" or "-" (stripped).
    virtual void ParseParam(const std::wstring& param, bool flag, bool last);

    // Feeds every item of the arguments (without the program name) to ParseParam.
    void ParseArguments(const std::vector<std::wstring>& arguments);
    // Splits a full command line (program name first) and parses the arguments.
    void ParseCommandLine(const std::wstring& commandLine);
    void ParseCommandLine(const std::string& commandLine);

    // Splits a command line into items the way the C runtime does for argv.
    static std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine);
    static std::vector<std::string> SplitCommandLine(const std::string& commandLine);

    // The arguments of a full command line: what follows the program's name.
    static std::wstring ArgumentsOf(const std::wstring& commandLine);

    // The first plain item, wide.
    std::wstring m_fileName;
};
