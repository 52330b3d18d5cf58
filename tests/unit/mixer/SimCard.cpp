#include "SimCard.h"

#include "MixerApi.h"

#include <vector>

void UseSimulatedCard() {
    ::SetEnvironmentVariableA(kMixerDriverVariable, "quendasim.dll");
    ::SetEnvironmentVariableA("QUENDA_SIM_STATE", kTestStateFile);
    InstallMixerApi(nullptr);
}

bool ResetSimulatedCard() {
    HMODULE card = ::LoadLibraryA("quendasim.dll");
    if (!card) return false;
    using ResetFunction = MMRESULT(WINAPI*)();
    auto reset = reinterpret_cast<ResetFunction>(
        reinterpret_cast<void*>(::GetProcAddress(card, "QuendaSimReset")));
    bool done = reset && reset() == MMSYSERR_NOERROR;
    ::FreeLibrary(card);
    return done;
}

CtlResult RunCtl(const std::string& arguments, const std::string& stateFile) {
    CtlResult result;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return result;
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    std::string commandLine = "quendasim-ctl.exe " + arguments;
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');

    char previous[MAX_PATH] = {};
    if (!stateFile.empty()) {
        ::GetEnvironmentVariableA("QUENDA_SIM_STATE", previous, sizeof(previous));
        ::SetEnvironmentVariableA("QUENDA_SIM_STATE", stateFile.c_str());
    }
    PROCESS_INFORMATION process = {};
    BOOL started = ::CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, TRUE,
                                    CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    if (!stateFile.empty()) ::SetEnvironmentVariableA("QUENDA_SIM_STATE", previous);
    ::CloseHandle(writeEnd);
    if (!started) {
        ::CloseHandle(readEnd);
        return result;
    }
    char chunk[512];
    DWORD read = 0;
    while (::ReadFile(readEnd, chunk, sizeof(chunk), &read, nullptr) && read > 0)
        result.output.append(chunk, read);
    ::CloseHandle(readEnd);
    if (::WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(process.hProcess, &result.exitCode);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return result;
}
