// Where the commands for scripts tell what they did: the console of the process that started
// the program (a command prompt, a batch file), or the output it was handed (a pipe or file a
// script reads). The program itself is a windowed program and has no console of its own.
#pragma once

#include "Platform.h"

#include <string>

class CScriptConsole {
public:
    CScriptConsole();
    CScriptConsole(const CScriptConsole&) = delete;
    CScriptConsole& operator=(const CScriptConsole&) = delete;

    // True when there is somewhere to write: the parent's console, or a standard output that
    // was handed to the program.
    bool HasOutput() const { return m_output != nullptr; }
    // Writes the text and a line end; nothing without an output.
    void WriteLine(const std::wstring& text) const;

private:
    HANDLE m_output = nullptr;
    bool m_isConsole = false;
};
