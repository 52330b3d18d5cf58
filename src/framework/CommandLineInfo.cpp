#include "CommandLineInfo.h"

void CCommandLineInfo::ParseParam(const char* param, bool flag, bool) {
    if (!flag && m_strFileName.empty() && param) m_strFileName = param;
}

void CCommandLineInfo::ParseArguments(const std::vector<std::string>& arguments) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& item = arguments[i];
        const bool flag = !item.empty() && (item[0] == '/' || item[0] == '-');
        ParseParam(item.c_str() + (flag ? 1 : 0), flag, i + 1 == arguments.size());
    }
}

void CCommandLineInfo::ParseCommandLine(const std::string& commandLine) {
    std::vector<std::string> items = SplitCommandLine(commandLine);
    if (!items.empty()) items.erase(items.begin()); // the program itself
    ParseArguments(items);
}

std::vector<std::string> CCommandLineInfo::SplitCommandLine(const std::string& line) {
    std::vector<std::string> items;
    size_t i = 0;
    const size_t n = line.size();
    auto blank = [](char c) { return c == ' ' || c == '\t'; };

    // The program name: up to the next blank, or quoted as a whole; no escapes.
    while (i < n && blank(line[i])) ++i;
    if (i < n) {
        std::string name;
        if (line[i] == '"') {
            ++i;
            while (i < n && line[i] != '"') name += line[i++];
            if (i < n) ++i;
        } else {
            while (i < n && !blank(line[i])) name += line[i++];
        }
        items.push_back(name);
    }

    for (;;) {
        while (i < n && blank(line[i])) ++i;
        if (i >= n) break;
        std::string item;
        bool quoted = false;
        while (i < n && (quoted || !blank(line[i]))) {
            if (line[i] == '\\') {
                size_t slashes = 0;
                while (i < n && line[i] == '\\') {
                    ++slashes;
                    ++i;
                }
                if (i < n && line[i] == '"') {
                    // 2n backslashes + quote: n backslashes, quote toggles;
                    // 2n+1 backslashes + quote: n backslashes and a literal quote.
                    item.append(slashes / 2, '\\');
                    if (slashes % 2) {
                        item += '"';
                        ++i;
                    }
                } else {
                    item.append(slashes, '\\');
                }
            } else if (line[i] == '"') {
                if (quoted && i + 1 < n && line[i + 1] == '"') { // "" inside quotes
                    item += '"';
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                item += line[i++];
            }
        }
        items.push_back(item);
    }
    return items;
}
