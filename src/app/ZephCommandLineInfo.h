// The control panel's command line: flags ("/minimize" or "-minimize") and an optional
// preset file name. A flag is recorded with the value "TRUE"; a plain item right after a flag
// becomes that flag's value, and is still the file name when it is the first plain item.
#pragma once

#include "CommandLineInfo.h"

#include <map>
#include <string>

class CZephCommandLineInfo : public CCommandLineInfo {
public:
    void ParseParam(const char* param, bool flag, bool last) override;

    // Present when the flag's text was on the command line, exactly as spelt.
    bool HasFlag(const std::string& name) const { return m_flags.count(name) != 0; }
    std::string GetFlagValue(const std::string& name) const;

    std::map<std::string, std::string> m_flags;
    std::string m_lastFlag;
};
