// Sole owner of one system handle: closes it when it goes, moves but never copies. What
// "empty" means and how a handle is closed comes from a traits struct:
//     struct Traits {
//         using Handle = ...;
//         static Handle Empty();
//         static bool IsValid(Handle h);
//         static void Close(Handle h);
//     };
// Aliases for the common kinds follow the template.
#pragma once

#include "Platform.h"

#include <utility>

template <class Traits> class CUniqueHandle {
public:
    using Handle = typename Traits::Handle;

    CUniqueHandle() = default;
    explicit CUniqueHandle(Handle handle) : m_handle(handle) {}
    ~CUniqueHandle() { Close(); }
    CUniqueHandle(const CUniqueHandle&) = delete;
    CUniqueHandle& operator=(const CUniqueHandle&) = delete;
    CUniqueHandle(CUniqueHandle&& other) noexcept : m_handle(other.Detach()) {}
    CUniqueHandle& operator=(CUniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Detach());
        return *this;
    }

    Handle Get() const { return m_handle; }
    bool IsValid() const { return Traits::IsValid(m_handle); }
    explicit operator bool() const { return IsValid(); }

    // Takes ownership of handle, closing the one held before (unless it is the same).
    void Reset(Handle handle = Traits::Empty()) {
        if (handle == m_handle) return;
        Close();
        m_handle = handle;
    }
    // Gives up ownership without closing.
    Handle Detach() { return std::exchange(m_handle, Traits::Empty()); }
    // For functions that return a handle through a pointer: closes what is held first.
    Handle* Receive() {
        Close();
        return &m_handle;
    }
    void Close() {
        if (Traits::IsValid(m_handle)) Traits::Close(m_handle);
        m_handle = Traits::Empty();
    }

private:
    Handle m_handle = Traits::Empty();
};

// Kernel objects: files, mappings, mutexes, events, processes, threads. Functions report
// failure either as null or as INVALID_HANDLE_VALUE; both are empty.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h && h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::CloseHandle(h); }
};
using CKernelHandle = CUniqueHandle<KernelHandleTraits>;

// Open registry keys. The device-key functions of SetupAPI fail with INVALID_HANDLE_VALUE.
struct RegKeyTraits {
    using Handle = HKEY;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h && h != reinterpret_cast<HKEY>(INVALID_HANDLE_VALUE); }
    static void Close(Handle h) { ::RegCloseKey(h); }
};
using CRegKeyHandle = CUniqueHandle<RegKeyTraits>;

// Libraries loaded with LoadLibrary.
struct ModuleTraits {
    using Handle = HMODULE;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { ::FreeLibrary(h); }
};
using CModuleHandle = CUniqueHandle<ModuleTraits>;

// Views of file mappings.
struct MappedViewTraits {
    using Handle = void*;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { ::UnmapViewOfFile(h); }
};
using CMappedView = CUniqueHandle<MappedViewTraits>;

// Menus loaded or made by us (not those a window owns: they go with the window).
struct MenuTraits {
    using Handle = HMENU;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { ::DestroyMenu(h); }
};
using CMenuHandle = CUniqueHandle<MenuTraits>;
