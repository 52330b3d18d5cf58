// Start-up time of the control panel against a plain sheet of the same six pages: from process
// start until the main window is shown and the program waits for input. Prints the median of
// each and their ratio.
// Usage: startup_bench [starts] (default 10). Runs against a private state file of its own.
#include "BenchState.h"
#include "Platform.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindSheet(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && ::IsWindowVisible(window) &&
        ::FindWindowExA(window, nullptr, "SysTabControl32", nullptr)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// One start: the seconds until the window is up and idle, or a negative value on failure.
double TimeOneStart(const std::string& program, WPARAM closeCommand) {
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    const double start = Now();
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return -1;
    Search search = {process.dwProcessId, nullptr};
    double elapsed = -1;
    while (Now() - start < 60) {
        if (::WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) break;
        ::EnumWindows(FindSheet, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            ::WaitForInputIdle(process.hProcess, 30000);
            elapsed = Now() - start;
            break;
        }
        ::Sleep(1);
    }
    if (search.found) ::PostMessageA(search.found, WM_COMMAND, closeCommand, 0);
    if (::WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0)
        ::TerminateProcess(process.hProcess, 1);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return elapsed;
}

// The program stores its language when it ends; the user of the prefix keeps what was there.
class KeptLanguage {
public:
    KeptLanguage() {
        DWORD size = sizeof(m_value);
        m_present =
            ::RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, "Language", RRF_RT_ANY | RRF_NOEXPAND,
                           &m_type, m_value, &size) == ERROR_SUCCESS;
        m_size = size;
    }
    ~KeptLanguage() {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_SET_VALUE, &key) !=
            ERROR_SUCCESS)
            return;
        if (m_present)
            ::RegSetValueExA(key, "Language", 0, m_type, m_value, m_size);
        else
            ::RegDeleteValueA(key, "Language");
        ::RegCloseKey(key);
    }

private:
    static constexpr const char* kSettingsKey =
        "Software\\Vantrel Electronic GmbH\\Quenda\\ControlPanel";
    bool m_present = false;
    DWORD m_type = REG_DWORD;
    BYTE m_value[512] = {};
    DWORD m_size = 0;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    const int starts = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    ::SetEnvironmentVariableA("QUENDA_MIXER_DRIVER", "quendasim.dll");
    const CBenchState state;
    const KeptLanguage language;
    std::vector<double> program, baseline;
    // Alternate the two so that both see the same machine load.
    for (int i = 0; i < starts; ++i) {
        const double a = TimeOneStart("Quenda Mixer.exe", 32772);
        const double b = TimeOneStart("startup_baseline.exe", IDCANCEL);
        if (a < 0 || b < 0) {
            std::printf("a start failed (program %.3f s, baseline %.3f s)\n", a, b);
            return 1;
        }
        program.push_back(a);
        baseline.push_back(b);
    }
    const double p = Median(program), b = Median(baseline);
    std::printf("Quenda Mixer   %8.1f ms  (median of %d starts)\n", p * 1e3, starts);
    std::printf("plain sheet    %8.1f ms  (median of %d starts)\n", b * 1e3, starts);
    std::printf("ratio          %8.2f\n", p / b);
    return 0;
}
