// The simulated card's persistent state and its volume steps: a damaged state file gives the
// first-run state, values outlive the processes, volumes snap to the nearest of 32 steps.
#include "Pump.h"
#include "SimCard.h"
#include "SimMixer.h"
#include "SimState.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <clocale>
#include <cstring>
#include <set>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {
const char* const kStateFile = "quendasim-state-test.bin";

std::vector<char> ReadAll(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const char* path, const std::vector<char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

std::string Trimmed(std::string text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.pop_back();
    return text;
}

class SimStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseSimulatedCard();
        std::remove(kStateFile);
        ASSERT_EQ(0u, RunCtl("get 1", kStateFile).exitCode); // first run writes the file
        valid = ReadAll(kStateFile);
        ASSERT_EQ(sizeof(SimFileHeader) + sizeof(SimPersistent), valid.size());
    }
    void TearDown() override { std::remove(kStateFile); }

    SimPersistent* Payload(std::vector<char>& bytes) {
        return reinterpret_cast<SimPersistent*>(bytes.data() + sizeof(SimFileHeader));
    }
    void Reseal(std::vector<char>& bytes) {
        reinterpret_cast<SimFileHeader*>(bytes.data())->checksum =
            CSimState::Checksum(Payload(bytes), sizeof(SimPersistent));
    }
    bool Loads(const std::vector<char>& bytes) {
        WriteAll(kStateFile, bytes);
        SimPersistent loaded;
        return CSimState::LoadFile(kStateFile, &loaded);
    }

    std::vector<char> valid;
};

TEST_F(SimStateTest, OnlyAnIntactFileOfThisVersionIsTaken) {
    SimPersistent loaded;
    ASSERT_TRUE(CSimState::LoadFile(kStateFile, &loaded));
    SimMixerValues firstRun;
    CSimMixer::FirstRun(&firstRun);
    EXPECT_EQ(0, std::memcmp(&firstRun, &loaded.mixer, sizeof(firstRun)));

    std::vector<char> bytes = valid;
    bytes[sizeof(SimFileHeader) + 5] ^= 0x40; // a flipped bit
    EXPECT_FALSE(Loads(bytes));
    EXPECT_FALSE(Loads(std::vector<char>(valid.begin(), valid.end() - 1))); // cut short
    bytes = valid;
    bytes.push_back(0);
    EXPECT_FALSE(Loads(bytes)); // too long
    bytes = valid;
    reinterpret_cast<SimFileHeader*>(bytes.data())->version += 1;
    EXPECT_FALSE(Loads(bytes));
    bytes = valid;
    reinterpret_cast<SimFileHeader*>(bytes.data())->magic = 0;
    EXPECT_FALSE(Loads(bytes));

    // Sealed correctly but holding what the card could not hold.
    bytes = valid;
    Payload(bytes)->mixer.values[0][0] = 1234; // between two volume steps
    Reseal(bytes);
    EXPECT_FALSE(Loads(bytes));
    bytes = valid;
    Payload(bytes)->mixer.values[0][0] = CSimMixer::Quantise(1234);
    Reseal(bytes);
    EXPECT_TRUE(Loads(bytes));
}

TEST_F(SimStateTest, DamagedFileStartsFromFirstRun) {
    CtlResult before = RunCtl("get 1", kStateFile);
    ASSERT_EQ(0u, RunCtl("set 1 0", kStateFile).exitCode);
    std::vector<char> damaged = ReadAll(kStateFile);
    damaged.resize(damaged.size() / 2);
    WriteAll(kStateFile, damaged);

    CtlResult after = RunCtl("get 1", kStateFile);
    ASSERT_EQ(0u, after.exitCode);
    EXPECT_EQ(Trimmed(before.output), Trimmed(after.output));
    EXPECT_EQ(valid, ReadAll(kStateFile)); // rewritten whole
}

TEST_F(SimStateTest, ValuesOutliveTheProcesses) {
    CtlResult set = RunCtl("set 0x13 0 0 0 1 0 0", kStateFile);
    ASSERT_EQ(0u, set.exitCode) << set.output;
    CtlResult get = RunCtl("get 19", kStateFile);
    EXPECT_EQ("0 0 0 1 0 0", Trimmed(get.output));

    ASSERT_EQ(0u, RunCtl("reset", kStateFile).exitCode);
    EXPECT_EQ("1 0 0 0 0 0", Trimmed(RunCtl("get 0x13", kStateFile).output));
    EXPECT_EQ(2u, RunCtl("set 0x13", kStateFile).exitCode);   // usage
    EXPECT_EQ(1u, RunCtl("set 0x13 0", kStateFile).exitCode); // refused by the card
}

bool Exists(const std::string& path) {
    // Opened without access: a pipe or a device link is there even though it has no
    // attributes to read.
    HANDLE file = ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(file);
    return true;
}

// Runs a program of the host system on a file, which Wine starts as it starts ours; its
// process cannot be waited for, so its effect is: the file is there, or gone.
bool RunOnFile(const std::string& commandLine, const std::string& file, bool there) {
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return false;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return PumpUntil([&] { return Exists(file) == there; }, 10000);
}

// The host's path of a file of ours, when running under Wine; empty otherwise.
std::string HostPath(const std::string& path) {
    using UnixName = char*(CDECL*)(const WCHAR*);
    auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName) return std::string();
    std::wstring wide(path.begin(), path.end());
    char* name = unixName(wide.c_str());
    if (!name) return std::string();
    std::string result = name;
    ::HeapFree(::GetProcessHeap(), 0, name);
    return result;
}

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// A state file that is a pipe or a device (or a link to one) cannot hold the state: the card
// works from memory for as long as it is in use, and quendasim-ctl says so once.
TEST(SimStateSpecialFilesTest, StateNoFileCanHoldIsKeptInMemory) {
    UseSimulatedCard();
    std::vector<std::string> names = {"NUL", "COM1"};
    const std::string special[] = {"quendasim-fifo-state", "quendasim-null-state",
                                   "quendasim-zero-state"};
    std::string host;
    if (::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version")) {
        char folder[MAX_PATH] = {};
        ::GetCurrentDirectoryA(sizeof(folder), folder);
        host = HostPath(folder);
        ASSERT_FALSE(host.empty());
        // A link goes, never what it points to.
        for (const std::string& name : special)
            ASSERT_TRUE(RunOnFile("/bin/rm -f \"" + host + "/" + name + "\"", name, false));
        const char* const commands[] = {"/usr/bin/mkfifo", "/bin/ln -s /dev/null",
                                        "/bin/ln -s /dev/zero"};
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(RunOnFile(std::string(commands[i]) + " \"" + host + "/" + special[i] + "\"",
                                  special[i], true))
                << special[i];
        names.insert(names.end(), std::begin(special), std::end(special));
    }
    for (const std::string& name : names) {
        CtlResult list = RunCtl("list", name);
        EXPECT_EQ(0u, list.exitCode) << name << ": " << list.output;
        EXPECT_EQ(0u, list.output.find("Quenda Wave:")) << name << ": " << list.output;
        EXPECT_EQ(1u, Count(list.output, "kept in memory")) << name << ": " << list.output;
    }
    if (!host.empty()) {
        for (const std::string& name : special)
            EXPECT_TRUE(RunOnFile("/bin/rm -f \"" + host + "/" + name + "\"", name, false));
    }
}

// The program runs in its language's locale, quendasim-ctl.exe in "C": both must name the
// shared objects of a state file under a profile path such as "...\\Søren Ørsted\\..." alike.
TEST(SimStateNamesTest, SharedObjectNamesDoNotFollowTheLocale) {
    const std::string path = "C:\\users\\S\xF8ren \xD8rsted\\Quenda Simulator\\state.bin";
    const std::string inC = CSimState::ObjectSuffix(path);
    ASSERT_NE(nullptr, std::setlocale(LC_ALL, "danish"));
    const std::string inDanish = CSimState::ObjectSuffix(path);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(inC, inDanish);
    // ASCII letters still fold, so the file's name in another case is the same state.
    EXPECT_EQ(inC, CSimState::ObjectSuffix("c:\\USERS\\s\xF8REN \xD8RSTED\\quenda simulator\\STATE.BIN"));
}

TEST(SimMixerStepsTest, VolumesSnapToTheNearestOf32Steps) {
    std::set<DWORD> levels;
    DWORD previous = 0;
    for (DWORD v = 0; v <= 70000; v += 7) {
        const DWORD q = CSimMixer::Quantise(v);
        const LONG wanted = LONG(v > 65535 ? 65535 : v);
        EXPECT_LE(std::abs(LONG(q) - wanted), LONG(65535 / 62 + 1)) << v;
        EXPECT_EQ(q, CSimMixer::Quantise(q)) << v;
        EXPECT_GE(q, previous) << v;
        previous = q;
        levels.insert(q);
    }
    EXPECT_EQ(32u, levels.size());
    EXPECT_EQ(0u, *levels.begin());
    EXPECT_EQ(65535u, *levels.rbegin());
}

// Wave's peak meter (control 6) with Wave and master at full volume: QUENDA_SIM_SIGNAL holds
// both channels at its level at any time; a value that is not a level leaves the signal drifting.
TEST(SimMixerStepsTest, TheSignalVariableHoldsTheMetersAtItsLevel) {
    SimMixerValues values;
    CSimMixer::FirstRun(&values);
    for (DWORD id : {1u, 4u})
        values.values[id - 1][0] = values.values[id - 1][1] = CSimMixer::kVolumeMaximum;
    auto levels = [&values] {
        std::set<LONG> seen;
        for (DWORD tick = 0; tick < 3000; tick += 250)
            for (DWORD channel = 0; channel < 2; ++channel)
                seen.insert(CSimMixer::MeterLevel(values, 6, channel, tick));
        return seen;
    };
    ::SetEnvironmentVariableA(kSimSignalVariable, "40");
    EXPECT_EQ(std::set<LONG>{LONG(0.4 * 32767 + 0.5)}, levels());
    for (const char* notALevel : {"101", "-5", "4x", ""}) {
        ::SetEnvironmentVariableA(kSimSignalVariable, notALevel);
        EXPECT_GT(levels().size(), 10u) << notALevel;
    }
    ::SetEnvironmentVariableA(kSimSignalVariable, nullptr);
    EXPECT_GT(levels().size(), 10u);
}
} // namespace
