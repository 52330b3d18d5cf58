#include "Platform.h"

#include "ZephCommandLineInfo.h"

#include "WideText.h"

#include <cwctype>

namespace {

bool SameInAnyCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    return true;
}

} // namespace

std::wstring CZephCommandLineInfo::Key(const std::string& name) {
    return WidenAnsi(name);
}

bool CZephCommandLineInfo::IsCommandFlag(const std::wstring& name) {
    return SameInAnyCase(name, L"save") || SameInAnyCase(name, L"load");
}

void CZephCommandLineInfo::ParseParam(const std::wstring& param, bool flag, bool last) {
    if (flag) {
        m_flags[param] = L"TRUE";
        m_lastFlag = param;
    } else if (!m_lastFlag.empty()) {
        const bool own = IsCommandFlag(m_lastFlag);
        m_flags[m_lastFlag] = param;
        m_lastFlag.clear();
        if (own) {
            // The file of /save or /load is never the start's preset too.
            m_commandFile = param;
            return;
        }
    }
    CCommandLineInfo::ParseParam(param, flag, last);
}

std::wstring CZephCommandLineInfo::GetFlagValue(const std::string& name) const {
    auto it = m_flags.find(Key(name));
    return it == m_flags.end() ? std::wstring() : it->second;
}

bool CZephCommandLineInfo::HasFlagInAnyCase(const std::string& name) const {
    const std::wstring key = Key(name);
    for (const auto& entry : m_flags)
        if (SameInAnyCase(entry.first, key)) return true;
    return false;
}

std::wstring CZephCommandLineInfo::GetFlagValueInAnyCase(const std::string& name) const {
    const std::wstring key = Key(name);
    for (const auto& entry : m_flags)
        if (SameInAnyCase(entry.first, key)) return entry.second;
    return std::wstring();
}

CZephCommandLineInfo::Command CZephCommandLineInfo::GetCommand() const {
    if (HasFlagInAnyCase("?") || HasFlagInAnyCase("help")) return Command::Help;
    const bool save = HasFlagInAnyCase("save"), load = HasFlagInAnyCase("load");
    if (save && load) return Command::Conflict;
    if (save) return Command::Save;
    if (load) return Command::Load;
    return Command::Panel;
}
