#include "ScriptConsole.h"

namespace {

bool IsUsable(HANDLE handle) {
    return handle && handle != INVALID_HANDLE_VALUE && ::GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

} // namespace

CScriptConsole::CScriptConsole() {
    // An output handed over by the starter (redirected to a file or a pipe) comes first; else
    // the console of the process that started the program, when it has one.
    HANDLE handed = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (!IsUsable(handed) && ::AttachConsole(ATTACH_PARENT_PROCESS)) {
        // The handle stays open for the life of the process, like a console's own.
        handed = ::CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    }
    if (!IsUsable(handed)) return;
    m_output = handed;
    DWORD mode = 0;
    m_isConsole = ::GetConsoleMode(handed, &mode) != FALSE;
}

void CScriptConsole::WriteLine(const std::wstring& text) const {
    if (!m_output) return;
    const std::wstring line = text + L"\r\n";
    DWORD written = 0;
    if (m_isConsole) {
        ::WriteConsoleW(m_output, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        return;
    }
    // A file or a pipe gets the console's code page where there is one, else the ANSI one.
    const UINT codePage = ::GetConsoleOutputCP() ? ::GetConsoleOutputCP() : CP_ACP;
    const int size = ::WideCharToMultiByte(codePage, 0, line.data(), static_cast<int>(line.size()),
                                           nullptr, 0, nullptr, nullptr);
    if (size <= 0) return;
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(codePage, 0, line.data(), static_cast<int>(line.size()), &bytes[0], size,
                          nullptr, nullptr);
    ::WriteFile(m_output, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}
