#include "Platform.h"

#include "CommandLineInfo.h"

#include "WideText.h"

namespace {

template <typename Char> bool IsBlank(Char c) {
    return c == Char(' ') || c == Char('\t');
}

// The program name: up to the next blank, or quoted as a whole; no escapes. False when the
// line is blank; *i is left after the name.
template <typename Char>
bool ProgramName(const std::basic_string<Char>& line, size_t* i, std::basic_string<Char>* name) {
    const size_t n = line.size();
    while (*i < n && IsBlank(line[*i]))
        ++*i;
    if (*i >= n) return false;
    if (line[*i] == Char('"')) {
        ++*i;
        while (*i < n && line[*i] != Char('"'))
            *name += line[(*i)++];
        if (*i < n) ++*i;
    } else {
        while (*i < n && !IsBlank(line[*i]))
            *name += line[(*i)++];
    }
    return true;
}

// The runtime's argv rules, for either width of character.
template <typename Char>
std::vector<std::basic_string<Char>> Split(const std::basic_string<Char>& line) {
    using String = std::basic_string<Char>;
    std::vector<String> items;
    size_t i = 0;
    const size_t n = line.size();
    auto blank = [](Char c) { return IsBlank(c); };

    String name;
    if (ProgramName(line, &i, &name)) items.push_back(name);

    for (;;) {
        while (i < n && blank(line[i]))
            ++i;
        if (i >= n) break;
        String item;
        bool quoted = false;
        while (i < n && (quoted || !blank(line[i]))) {
            if (line[i] == Char('\\')) {
                size_t slashes = 0;
                while (i < n && line[i] == Char('\\')) {
                    ++slashes;
                    ++i;
                }
                if (i < n && line[i] == Char('"')) {
                    // 2n backslashes + quote: n backslashes, quote toggles;
                    // 2n+1 backslashes + quote: n backslashes and a literal quote.
                    item.append(slashes / 2, Char('\\'));
                    if (slashes % 2) {
                        item += Char('"');
                        ++i;
                    }
                } else {
                    item.append(slashes, Char('\\'));
                }
            } else if (line[i] == Char('"')) {
                if (quoted && i + 1 < n && line[i + 1] == Char('"')) { // "" inside quotes
                    item += Char('"');
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

} // namespace

void CCommandLineInfo::ParseParam(const std::wstring& param, bool flag, bool) {
    if (!flag && m_fileName.empty()) m_fileName = param;
}

void CCommandLineInfo::ParseArguments(const std::vector<std::wstring>& arguments) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& item = arguments[i];
        const bool flag = !item.empty() && (item[0] == L'/' || item[0] == L'-');
        ParseParam(item.substr(flag ? 1 : 0), flag, i + 1 == arguments.size());
    }
}

void CCommandLineInfo::ParseCommandLine(const std::wstring& commandLine) {
    std::vector<std::wstring> items = SplitCommandLine(commandLine);
    if (!items.empty()) items.erase(items.begin()); // the program itself
    ParseArguments(items);
}

void CCommandLineInfo::ParseCommandLine(const std::string& commandLine) {
    ParseCommandLine(WidenAnsi(commandLine));
}

std::vector<std::wstring> CCommandLineInfo::SplitCommandLine(const std::wstring& line) {
    return Split(line);
}

std::vector<std::string> CCommandLineInfo::SplitCommandLine(const std::string& line) {
    return Split(line);
}

std::wstring CCommandLineInfo::ArgumentsOf(const std::wstring& commandLine) {
    size_t i = 0;
    std::wstring name;
    ProgramName(commandLine, &i, &name);
    while (i < commandLine.size() && IsBlank(commandLine[i]))
        ++i;
    return commandLine.substr(i);
}
