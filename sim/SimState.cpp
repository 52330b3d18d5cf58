#include "SimState.h"

#include "SimMixer.h"

#include <shlobj.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {
std::string ParentOf(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// Processes that use the same state file share one block; another file gets its own, so a
// test can run against a private file.
std::string ObjectSuffix(const std::string& path) {
    DWORD hash = 2166136261u;
    for (char c : path) {
        hash ^= static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(c)));
        hash *= 16777619u;
    }
    char suffix[32];
    std::snprintf(suffix, sizeof(suffix), "v%lu.%08lX",
                  static_cast<unsigned long>(kSimStateVersion), static_cast<unsigned long>(hash));
    return suffix;
}

class CFileHandle {
public:
    explicit CFileHandle(HANDLE handle) : m_handle(handle) {}
    ~CFileHandle() {
        if (Valid()) ::CloseHandle(m_handle);
    }
    CFileHandle(const CFileHandle&) = delete;
    CFileHandle& operator=(const CFileHandle&) = delete;
    bool Valid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};

struct SimFile {
    SimFileHeader header;
    SimPersistent payload;
};
} // namespace

CSimState* CSimState::Get() {
    static std::unique_ptr<CSimState> state = [] {
        std::unique_ptr<CSimState> mapped(new CSimState());
        if (!mapped->Map()) mapped.reset();
        return mapped;
    }();
    return state.get();
}

CSimState::~CSimState() {
    if (m_view) ::UnmapViewOfFile(m_view);
    if (m_mapping) ::CloseHandle(m_mapping);
    if (m_mutex) ::CloseHandle(m_mutex);
}

CSimState::Lock::Lock(CSimState& state) : m_mutex(state.m_mutex) {
    // An abandoned mutex (a process died holding it) is ours now; the block is still whole
    // because every change to it is a few plain stores.
    ::WaitForSingleObject(m_mutex, INFINITE);
}

CSimState::Lock::~Lock() {
    ::ReleaseMutex(m_mutex);
}

bool CSimState::Map() {
    m_path = StatePath();
    const std::string suffix = ObjectSuffix(m_path);
    m_mutex = ::CreateMutexA(nullptr, FALSE, ("QuendaSim.Lock." + suffix).c_str());
    if (!m_mutex) return false;
    Lock lock(*this);
    m_mapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                     sizeof(SimShared), ("QuendaSim.State." + suffix).c_str());
    if (!m_mapping) return false;
    m_view = static_cast<SimShared*>(
        ::MapViewOfFile(m_mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SimShared)));
    if (!m_view) return false;
    if (m_view->magic == kSimStateMagic && m_view->version == kSimStateVersion) return true;

    // The first process to map the block fills it from the file.
    std::memset(m_view, 0, sizeof(SimShared));
    if (!LoadFile(m_path, &m_view->persistent)) {
        ResetToFirstRun();
        Save();
    }
    m_view->serial = 1;
    m_view->version = kSimStateVersion;
    m_view->magic = kSimStateMagic;
    return true;
}

void CSimState::ResetToFirstRun() {
    CSimMixer::FirstRun(&m_view->persistent.mixer);
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
    CFileHandle file(::CreateFileA(path.c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
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
    *out = contents->payload;
    return true;
}

bool CSimState::Save() {
    const std::string folder = ParentOf(m_path);
    if (!folder.empty()) ::CreateDirectoryA(folder.c_str(), nullptr);

    SimFile contents = {};
    contents.header.magic = kSimStateMagic;
    contents.header.version = kSimStateVersion;
    contents.header.size = sizeof(SimPersistent);
    contents.payload = m_view->persistent;
    contents.header.checksum = Checksum(&contents.payload, sizeof(SimPersistent));

    // Write beside the file and move over it, so a crash never leaves half a file.
    const std::string temporary = m_path + ".tmp";
    {
        CFileHandle file(::CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid()) return false;
        DWORD written = 0;
        if (!::WriteFile(file.Get(), &contents, sizeof(contents), &written, nullptr) ||
            written != sizeof(contents))
            return false;
    }
    return ::MoveFileExA(temporary.c_str(), m_path.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}
