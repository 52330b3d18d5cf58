#include "Platform.h"

#include "SimClassFactory.h"

#include "ComPtr.h"
#include "SimCardControl.h"

#include <new>

HRESULT STDMETHODCALLTYPE CSimClassFactory::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) return E_NOINTERFACE;
    *object = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE CSimClassFactory::AddRef() {
    return InterlockedIncrement(&m_refs);
}

ULONG STDMETHODCALLTYPE CSimClassFactory::Release() {
    LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0) delete this;
    return refs;
}

HRESULT STDMETHODCALLTYPE CSimClassFactory::CreateInstance(IUnknown* outer, REFIID iid,
                                                           void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    CComPtr<CSimCardControl> control;
    control.Attach(new (std::nothrow) CSimCardControl); // holds the creation reference
    if (!control) return E_OUTOFMEMORY;
    return control->QueryInterface(iid, object);
}

HRESULT STDMETHODCALLTYPE CSimClassFactory::LockServer(BOOL lock) {
    CSimCardControl::LockServer(lock != FALSE);
    return S_OK;
}
