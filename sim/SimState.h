// The simulated card's state, shared by every process that loads the card through named file
// mappings guarded by a named mutex: the control values are the state file itself (under the
// user's profile) mapped into every process; the open handles live in a mapping of their own.
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
#include "SimVendorValues.h"
#include "UniqueHandle.h"

#include <string>

constexpr DWORD kSimStateMagic = 0x4D495351; // "QSIM"
constexpr DWORD kSimStateVersion = 2;
constexpr DWORD kSimMaxHandles = 64;

// Environment variable naming the state file (for tests and scripts); without it the file is
// %APPDATA%\Quenda Simulator\state.bin.
constexpr const char* kSimStateVariable = "QUENDA_SIM_STATE";
// Environment variable holding the meters' test signal at a fixed level, in per cent of full
// scale (0 to 100), so that pictures of the meters come out the same on every run.
constexpr const char* kSimSignalVariable = "QUENDA_SIM_SIGNAL";

// What is kept between runs.
struct SimPersistent {
    SimMixerValues mixer;
    SimVendorValues vendor; // the vendor control object's properties
};

struct SimFileHeader {
    DWORD magic;
    DWORD version;
    DWORD size;     // sizeof(SimPersistent)
    DWORD checksum; // of the payload
};

// The state file: what the card keeps between runs. It is mapped into every process as it
// stands on disk, so a change is in the file as soon as it is made.
struct SimFile {
    SimFileHeader header;
    SimPersistent payload;
};

// One open mixer handle of some process.
struct SimHandleEntry {
    DWORD handle; // 0 = free slot
    DWORD processId;
    DWORD window; // callback window (CALLBACK_WINDOW) as its 32-bit value, 0 for none
    DWORD reserved;
};

// What lives only while some process uses the card: the open handles.
struct SimRuntime {
    DWORD magic;   // kSimStateMagic once the block is initialised
    DWORD version; // kSimStateVersion
    DWORD serial;  // makes handle values unique
    DWORD reserved;
    SimHandleEntry handles[kSimMaxHandles];
};

// The layouts are shared between 32-bit and 64-bit processes and kept on disk: fixed-width
// fields only, the same size on every architecture.
static_assert(sizeof(SimMixerValues) == 624, "mixer values layout");
static_assert(sizeof(SimVendorValues) == 60, "vendor values layout");
static_assert(sizeof(SimFile) == 700, "state file layout");
static_assert(sizeof(SimRuntime) == 1040, "runtime block layout");

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

    // The shared blocks; touch them only while holding a Lock.
    SimPersistent& Persistent() { return m_file->payload; }
    SimRuntime& Runtime() { return *m_runtime; }
    // Seals the persistent part after a change (under the lock).
    void Changed();
    // Returns the persistent part to the first-run state (under the lock).
    void ResetToFirstRun();
    const std::string& Path() const { return m_path; }
    // False when the state file could not be used and the state lasts only while mapped.
    bool IsFileBacked() const { return m_fileBacked; }

    // The state file path: QUENDA_SIM_STATE made absolute, else the profile location.
    static std::string StatePath();
    // Reads and checks a state file; false (out untouched) when it cannot be used.
    static bool LoadFile(const std::string& path, SimPersistent* out);
    static DWORD Checksum(const void* data, size_t size);
    // The part of the shared objects' names that stands for the state file.
    static std::string ObjectSuffix(const std::string& path);

private:
    CSimState() = default;
    bool Map();
    bool MapFile(const std::string& name, bool first);

    std::string m_path;
    bool m_fileBacked = false;
    // Released in reverse order: each view before its mapping, the mutex last.
    CKernelHandle m_mutex;
    CKernelHandle m_runtimeMapping;
    CMappedView m_runtimeView;
    CKernelHandle m_fileMapping;
    CMappedView m_fileView;
    SimRuntime* m_runtime = nullptr; // the two views, typed
    SimFile* m_file = nullptr;
};
