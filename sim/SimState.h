// The simulated card's state, shared by every process that loads the card: one block in a
// named file mapping, guarded by a named mutex, with the part that outlives the processes
// (the control values) kept in a file under the user's profile.
//
// The file holds a header (magic, version, payload size, checksum) and the payload
// (SimPersistent). A file that is missing, of another version or size, fails its checksum
// or holds values the card could not have is replaced by the first-run state.
//
// The card's parts keep their values in their own sections of SimPersistent; a part added
// later appends its section and raises kSimStateVersion.
#pragma once

#include "Platform.h"

#include "SimMixerValues.h"

#include <string>

constexpr DWORD kSimStateMagic = 0x4D495351; // "QSIM"
constexpr DWORD kSimStateVersion = 1;
constexpr DWORD kSimMaxHandles = 64;

// Environment variable naming the state file (for tests and scripts); without it the file is
// %APPDATA%\Quenda Simulator\state.bin.
constexpr const char* kSimStateVariable = "QUENDA_SIM_STATE";

// What is kept between runs.
struct SimPersistent {
    SimMixerValues mixer;
};

struct SimFileHeader {
    DWORD magic;
    DWORD version;
    DWORD size;     // sizeof(SimPersistent)
    DWORD checksum; // of the payload
};

// One open mixer handle of some process.
struct SimHandleEntry {
    DWORD handle; // 0 = free slot
    DWORD processId;
    DWORD window; // callback window (CALLBACK_WINDOW), 0 for none
    DWORD reserved;
};

// The shared block. Everything but `persistent` lives only while some process maps it.
struct SimShared {
    DWORD magic;   // kSimStateMagic once the block is initialised
    DWORD version; // kSimStateVersion
    DWORD serial;  // makes handle values unique
    DWORD reserved;
    SimPersistent persistent;
    SimHandleEntry handles[kSimMaxHandles];
};

class CSimState {
public:
    // The process's view of the shared state, mapped on first use; null when the mapping
    // cannot be made.
    static CSimState* Get();

    ~CSimState();
    CSimState(const CSimState&) = delete;
    CSimState& operator=(const CSimState&) = delete;

    // Holds the state's mutex for its lifetime.
    class Lock {
    public:
        explicit Lock(CSimState& state);
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        HANDLE m_mutex;
    };

    // The shared block; touch it only while holding a Lock.
    SimShared& Shared() { return *m_view; }
    // Writes the persistent part to the state file (under the lock).
    bool Save();
    // Returns the persistent part to the first-run state (under the lock; not saved).
    void ResetToFirstRun();
    const std::string& Path() const { return m_path; }

    // The state file path: QUENDA_SIM_STATE made absolute, else the profile location.
    static std::string StatePath();
    // Reads and checks a state file; false (out untouched) when it cannot be used.
    static bool LoadFile(const std::string& path, SimPersistent* out);
    static DWORD Checksum(const void* data, size_t size);

private:
    CSimState() = default;
    bool Map();

    std::string m_path;
    HANDLE m_mutex = nullptr;
    HANDLE m_mapping = nullptr;
    SimShared* m_view = nullptr;
};
