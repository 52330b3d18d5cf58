#include "SimState.h"

#include "SimMixer.h"
#include "SimVendor.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {
std::string ParentOf(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace

// Processes that use the same state file share one block; another file gets its own, so a
// test can run against a private file. Only ASCII letters are folded: the runtime's tolower
// follows the locale a program has set, and every process must reach the same name.
std::string CSimState::ObjectSuffix(const std::string& path) {
    DWORD hash = 2166136261u;
    for (char c : path) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte >= 'A' && byte <= 'Z') byte = static_cast<unsigned char>(byte - 'A' + 'a');
        hash ^= byte;
        hash *= 16777619u;
    }
    char suffix[32];
    std::snprintf(suffix, sizeof(suffix), "v%lu.%08lX",
                  static_cast<unsigned long>(kSimStateVersion), static_cast<unsigned long>(hash));
    return suffix;
}

CSimState* CSimState::Get() {
    static std::unique_ptr<CSimState> state = [] {
        std::unique_ptr<CSimState> mapped(new CSimState());
        if (!mapped->Map()) mapped.reset();
        return mapped;
    }();
    return state.get();
}

CSimState::~CSimState() = default;

CSimState::Lock::Lock(CSimState& state) : m_mutex(state.m_mutex.Get()) {
    // An abandoned mutex (a process died holding it) is ours now; the blocks are still whole
    // because every change to them is a few plain stores.
    ::WaitForSingleObject(m_mutex, INFINITE);
}

CSimState::Lock::~Lock() {
    ::ReleaseMutex(m_mutex);
}

bool CSimState::Map() {
    m_path = StatePath();
    const std::string suffix = ObjectSuffix(m_path);
    m_mutex.Reset(::CreateMutexA(nullptr, FALSE, ("QuendaSim.Lock." + suffix).c_str()));
    if (!m_mutex) return false;
    Lock lock(*this);
    m_runtimeMapping.Reset(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                sizeof(SimRuntime),
                                                ("QuendaSim.Runtime." + suffix).c_str()));
    if (!m_runtimeMapping) return false;
    m_runtimeView.Reset(
        ::MapViewOfFile(m_runtimeMapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SimRuntime)));
    m_runtime = static_cast<SimRuntime*>(m_runtimeView.Get());
    if (!m_runtime) return false;
    const bool first = m_runtime->magic != kSimStateMagic || m_runtime->version != kSimStateVersion;
    if (!MapFile("QuendaSim.State." + suffix, first)) return false;
    if (first) {
        std::memset(m_runtime, 0, sizeof(SimRuntime));
        m_runtime->serial = 1;
        m_runtime->version = kSimStateVersion;
        m_runtime->magic = kSimStateMagic;
    }
    return true;
}

// Maps the state file. The first process checks it and, when it cannot be used, rewrites it
// with the first-run state at exactly the right size; the others map what is there. Without
// a usable file the state lives in memory only.
bool CSimState::MapFile(const std::string& name, bool first) {
    SimPersistent loaded;
    const bool intact = !first || LoadFile(m_path, &loaded);
    const std::string folder = ParentOf(m_path);
    if (!folder.empty()) ::CreateDirectoryA(folder.c_str(), nullptr);
    CKernelHandle file(::CreateFileA(m_path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    // Only a file on disk can hold the state: a pipe, a device ("NUL", "COM1") or a link to
    // one (/dev/null, /dev/zero) opens, but can neither be sized nor mapped. The state then
    // lives in memory, as when the file cannot be written.
    bool usable = file.IsValid() && ::GetFileType(file.Get()) == FILE_TYPE_DISK;
    if (usable && first && !intact) {
        ::SetFilePointer(file.Get(), sizeof(SimFile), nullptr, FILE_BEGIN);
        usable = ::SetEndOfFile(file.Get()) != FALSE;
    }
    m_fileBacked = usable;
    m_fileMapping.Reset(::CreateFileMappingA(m_fileBacked ? file.Get() : INVALID_HANDLE_VALUE,
                                             nullptr, PAGE_READWRITE, 0, sizeof(SimFile),
                                             name.c_str()));
    if (!m_fileMapping) return false;
    m_fileView.Reset(
        ::MapViewOfFile(m_fileMapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SimFile)));
    m_file = static_cast<SimFile*>(m_fileView.Get());
    if (!m_file) return false;
    if (first && (!intact || !m_fileBacked)) {
        std::memset(m_file, 0, sizeof(SimFile));
        m_file->header.magic = kSimStateMagic;
        m_file->header.version = kSimStateVersion;
        m_file->header.size = sizeof(SimPersistent);
        ResetToFirstRun();
    }
    return true;
}

void CSimState::Changed() {
    m_file->header.checksum = Checksum(&m_file->payload, sizeof(SimPersistent));
}

void CSimState::ResetToFirstRun() {
    CSimMixer::FirstRun(&m_file->payload.mixer);
    CSimVendor::FirstRun(&m_file->payload.vendor);
    Changed();
}

std::string CSimState::StatePath() {
    char buffer[MAX_PATH];
    DWORD length = ::GetEnvironmentVariableA(kSimStateVariable, buffer, sizeof(buffer));
    if (length > 0 && length < sizeof(buffer)) {
        char full[MAX_PATH];
        DWORD fullLength = ::GetFullPathNameA(buffer, sizeof(full), full, nullptr);
        if (fullLength > 0 && fullLength < sizeof(full)) return full;
        return buffer;
    }
    char folder[MAX_PATH] = {};
    if (SUCCEEDED(
            ::SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, folder)))
        return std::string(folder) + "\\Quenda Simulator\\state.bin";
    length = ::GetTempPathA(sizeof(folder), folder);
    return std::string(folder, length < sizeof(folder) ? length : 0) + "quenda-sim-state.bin";
}

DWORD CSimState::Checksum(const void* data, size_t size) {
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    DWORD hash = 2166136261u;
    for (size_t i = 0; i < size; ++i) {
        hash ^= bytes[i];
        hash *= 16777619u;
    }
    return hash;
}

bool CSimState::LoadFile(const std::string& path, SimPersistent* out) {
    CKernelHandle file(::CreateFileA(path.c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || ::GetFileType(file.Get()) != FILE_TYPE_DISK) return false;
    if (::GetFileSize(file.Get(), nullptr) != sizeof(SimFile)) return false;
    auto contents = std::make_unique<SimFile>();
    DWORD read = 0;
    if (!::ReadFile(file.Get(), contents.get(), sizeof(SimFile), &read, nullptr) ||
        read != sizeof(SimFile))
        return false;
    const SimFileHeader& header = contents->header;
    if (header.magic != kSimStateMagic || header.version != kSimStateVersion ||
        header.size != sizeof(SimPersistent) ||
        header.checksum != Checksum(&contents->payload, sizeof(SimPersistent)))
        return false;
    if (!CSimMixer::IsValid(contents->payload.mixer)) return false;
    if (!CSimVendor::IsValid(contents->payload.vendor)) return false;
    *out = contents->payload;
    return true;
}
