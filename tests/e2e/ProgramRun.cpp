#include "ProgramRun.h"

#include "Pump.h"
#include "UniqueHandle.h"

namespace {

struct BoxSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindBox(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<BoxSearch*>(data);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    char className[16] = {};
    ::GetClassNameA(window, className, sizeof(className));
    if (owner == search->processId && std::string(className) == "#32770" &&
        ::IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

ProgramRun RunProgram(const std::string& arguments, DWORD timeoutMs) {
    ProgramRun run;
    std::string commandLine = "\"Quenda Mixer.exe\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return run;
    CKernelHandle thread(process.hThread), child(process.hProcess);
    run.started = true;
    HWND answered = nullptr;
    run.ended = PumpUntil(
        [&] {
            if (::WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) return true;
            BoxSearch search = {process.dwProcessId, nullptr};
            ::EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
            if (search.found && search.found != answered) {
                // The box's text sits in its static control 0xFFFF.
                char text[1024] = {};
                ::GetDlgItemTextA(search.found, 0xFFFF, text, sizeof(text));
                run.boxes.push_back(text);
                answered = search.found;
                ::PostMessageA(search.found, WM_COMMAND, IDOK, 0);
            }
            return false;
        },
        timeoutMs);
    if (run.ended)
        ::GetExitCodeProcess(process.hProcess, &run.exitCode);
    else
        ::TerminateProcess(process.hProcess, 1);
    return run;
}

ScopedEnvironment::ScopedEnvironment(const char* name, const char* value) : m_name(name) {
    char old[4096] = {};
    DWORD length = ::GetEnvironmentVariableA(name, old, sizeof(old));
    m_had = length > 0 && length < sizeof(old);
    if (m_had) m_old = old;
    ::SetEnvironmentVariableA(name, value);
}

ScopedEnvironment::~ScopedEnvironment() {
    ::SetEnvironmentVariableA(m_name.c_str(), m_had ? m_old.c_str() : nullptr);
}
