#include "SimCard.h"

#include "MixerApi.h"
#include "UniqueHandle.h"

#include <vector>

void UseSimulatedCard(const char* stateFile) {
    ::SetEnvironmentVariableA(kMixerDriverVariable, "quendasim.dll");
    ::SetEnvironmentVariableA("QUENDA_SIM_STATE", stateFile);
    InstallMixerApi(nullptr);
}

bool ResetSimulatedCard() {
    CModuleHandle card(::LoadLibraryA("quendasim.dll"));
    if (!card) return false;
    using ResetFunction = MMRESULT(WINAPI*)();
    auto reset = reinterpret_cast<ResetFunction>(
        reinterpret_cast<void*>(::GetProcAddress(card.Get(), "QuendaSimReset")));
    return reset && reset() == MMSYSERR_NOERROR;
}

CtlResult RunCtl(const std::string& arguments, const std::string& stateFile) {
    CtlResult result;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    CKernelHandle readEnd, writeEnd;
    if (!::CreatePipe(readEnd.Receive(), writeEnd.Receive(), &inherit, 0)) return result;
    ::SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = writeEnd.Get();
    startup.hStdError = writeEnd.Get();
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
    writeEnd.Close(); // the child holds the only write end now: reading ends with the child
    if (!started) return result;
    CKernelHandle thread(process.hThread), child(process.hProcess);
    char chunk[512];
    DWORD read = 0;
    while (::ReadFile(readEnd.Get(), chunk, sizeof(chunk), &read, nullptr) && read > 0)
        result.output.append(chunk, read);
    if (::WaitForSingleObject(child.Get(), 30000) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(child.Get(), &result.exitCode);
    return result;
}
