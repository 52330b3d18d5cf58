#include "ZephCommandLineInfo.h"

void CZephCommandLineInfo::ParseParam(const char* param, bool flag, bool last) {
    const std::string text = param ? param : "";
    if (flag) {
        m_flags[text] = "TRUE";
        m_lastFlag = text;
    } else if (!m_lastFlag.empty()) {
        m_flags[m_lastFlag] = text;
        m_lastFlag.clear();
    }
    CCommandLineInfo::ParseParam(param, flag, last);
}

std::string CZephCommandLineInfo::GetFlagValue(const std::string& name) const {
    auto it = m_flags.find(name);
    return it == m_flags.end() ? std::string() : it->second;
}
