// The control panel's command line: flags ("/minimize" or "-minimize"), an optional preset
// file name, and the commands for scripts ("/save FILE", "/load FILE", "/?", "/help"). A flag
// is recorded with the value "TRUE"; a plain item right after a flag becomes that flag's value,
// and is still the file name when it is the first plain item, except after "/save" and
// "/load", whose file is theirs alone. "minimize" is matched as spelt; the commands for scripts
// in any case.
#pragma once

#include "CommandLineInfo.h"

#include <map>
#include <string>

class CZephCommandLineInfo : public CCommandLineInfo {
public:
    // What the start is asked to do.
    enum class Command { Panel, Save, Load, Help, Conflict };

    void ParseParam(const std::wstring& param, bool flag, bool last) override;

    // Present when the flag's text was on the command line, exactly as spelt.
    bool HasFlag(const std::string& name) const { return m_flags.count(Key(name)) != 0; }
    std::wstring GetFlagValue(const std::string& name) const;
    // The same, with the flag's name in any case.
    bool HasFlagInAnyCase(const std::string& name) const;
    std::wstring GetFlagValueInAnyCase(const std::string& name) const;

    // The command: Help for "/?" or "/help", Save or Load for one of them, Conflict for both,
    // else Panel.
    Command GetCommand() const;
    // The file that followed "/save" or "/load" (empty when none did).
    const std::wstring& GetCommandFile() const { return m_commandFile; }

    std::map<std::wstring, std::wstring> m_flags;
    std::wstring m_lastFlag;

private:
    std::wstring m_commandFile;

    static std::wstring Key(const std::string& name);
    // True when the flag takes its value for itself alone.
    static bool IsCommandFlag(const std::wstring& name);
};
