#include "Platform.h"

#include "SimCardControl.h"

#include "SimState.h"
#include "SimVendor.h"

const CLSID CLSID_SimCardControl = {
    0xD3D47B77, 0x90B9, 0x4DF7, {0xA8, 0x29, 0x2E, 0xF4, 0x78, 0x08, 0xCC, 0x78}};

const IID kSimCardControlIids[6] = {
    {0xD6F21C1C, 0x6E6B, 0x4C91, {0x95, 0x50, 0xF8, 0x37, 0xF8, 0xE7, 0x2F, 0x65}},
    {0x25825937, 0xE632, 0x49D5, {0xA6, 0x6B, 0xA6, 0x80, 0x4C, 0xDB, 0x34, 0x47}},
    {0xF61C3E64, 0x807F, 0x4616, {0x81, 0xE5, 0x70, 0x54, 0x62, 0x59, 0x49, 0x9E}},
    {0xEF43FA5F, 0xDA45, 0x4BBF, {0xB4, 0x08, 0x8C, 0xEE, 0x5F, 0xFA, 0x3D, 0xF0}},
    {0x24115349, 0x6761, 0x47F2, {0x9E, 0xE5, 0x12, 0xA1, 0xDF, 0xC0, 0x2C, 0x43}},
    {0x19585ACC, 0x7DBC, 0x431D, {0xB8, 0xF6, 0x43, 0x3A, 0x6D, 0x66, 0x17, 0xBE}},
};

namespace {

LONG g_live = 0;

} // namespace

CSimCardControl::CSimCardControl() {
    InterlockedIncrement(&g_live);
}

CSimCardControl::~CSimCardControl() {
    InterlockedDecrement(&g_live);
}

HRESULT STDMETHODCALLTYPE CSimCardControl::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    bool known = IsEqualIID(iid, IID_IUnknown);
    for (const IID& candidate : kSimCardControlIids)
        known = known || IsEqualIID(iid, candidate);
    if (!known) return E_NOINTERFACE;
    *object = static_cast<ISimCardControl*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE CSimCardControl::AddRef() {
    return InterlockedIncrement(&m_refs);
}

ULONG STDMETHODCALLTYPE CSimCardControl::Release() {
    LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0) delete this;
    return refs;
}

LONG STDMETHODCALLTYPE CSimCardControl::SetProperty(DWORD id, void* buffer, DWORD size) {
    CSimState* state = CSimState::Get();
    if (!state) return 0;
    CSimState::Lock lock(*state);
    if (!CSimVendor::Set(state->Persistent().vendor, id, buffer, size)) return 0;
    state->Changed();
    return 1;
}

LONG STDMETHODCALLTYPE CSimCardControl::GetProperty(DWORD id, void* buffer, DWORD size) {
    CSimState* state = CSimState::Get();
    if (!state) return 0;
    CSimState::Lock lock(*state);
    return CSimVendor::Get(state->Persistent().vendor, id, buffer, size) ? 1 : 0;
}

LONG CSimCardControl::LiveCount() {
    return g_live;
}

void CSimCardControl::LockServer(bool lock) {
    if (lock)
        InterlockedIncrement(&g_live);
    else
        InterlockedDecrement(&g_live);
}
