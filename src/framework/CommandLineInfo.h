// Command-line parsing: the command line is split into items by the system's rules (blanks
// separate, quotes group, backslashes escape quotes), a leading "/" or "-" marks a flag and is
// stripped, and ParseParam is called for every item in order. The first plain item is the
// file name.
#pragma once

#include <string>
#include <vector>

class CCommandLineInfo {
public:
    virtual ~CCommandLineInfo() = default;

    // Called for each item; flag is true when the item began with "/" or "-" (stripped).
    virtual void ParseParam(const char* param, bool flag, bool last);

    // Feeds every item of the arguments (without the program name) to ParseParam.
    void ParseArguments(const std::vector<std::string>& arguments);
    // Splits a full command line (program name first) and parses the arguments.
    void ParseCommandLine(const std::string& commandLine);

    // Splits a command line into items the way the C runtime does for argv.
    static std::vector<std::string> SplitCommandLine(const std::string& commandLine);

    std::string m_strFileName;
};
