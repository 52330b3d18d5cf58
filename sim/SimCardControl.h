// The simulated card's vendor control object: an in-process COM object that reads and writes
// the card properties kept in the shared state. One object answers for IUnknown and for each
// of the six interface ids under which the card's control interface is known; all six have
// the same slots.
#pragma once

#include "Platform.h"

#include <objbase.h>

// While this environment variable is set (to anything), the class cannot be created, as with a
// driver package that has no vendor object for the program (for tests and scripts).
constexpr const char* kSimNoVendorVariable = "QUENDA_SIM_NO_VENDOR";

// {D3D47B77-90B9-4DF7-A829-2EF47808CC78}
extern const CLSID CLSID_SimCardControl;
// The six interface ids, in the order programs try them.
extern const IID kSimCardControlIids[6];

// Slots 3 and 4 after IUnknown's three.
struct ISimCardControl : public IUnknown {
    // Nonzero when the card took the whole buffer.
    virtual LONG STDMETHODCALLTYPE SetProperty(DWORD id, void* buffer, DWORD size) = 0;
    // Nonzero when the buffer was filled; the buffer is untouched otherwise.
    virtual LONG STDMETHODCALLTYPE GetProperty(DWORD id, void* buffer, DWORD size) = 0;
};

class CSimCardControl : public ISimCardControl {
public:
    CSimCardControl();
    virtual ~CSimCardControl();
    CSimCardControl(const CSimCardControl&) = delete;
    CSimCardControl& operator=(const CSimCardControl&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    LONG STDMETHODCALLTYPE SetProperty(DWORD id, void* buffer, DWORD size) override;
    LONG STDMETHODCALLTYPE GetProperty(DWORD id, void* buffer, DWORD size) override;

    // Objects (and class factory locks) alive in this process, for DllCanUnloadNow.
    static LONG LiveCount();
    static void LockServer(bool lock);

private:
    LONG m_refs = 1;
};
