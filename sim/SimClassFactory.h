// The class factory of the simulated card's vendor control object.
#pragma once

#include "Platform.h"

#include <objbase.h>

class CSimClassFactory : public IClassFactory {
public:
    CSimClassFactory() = default;
    virtual ~CSimClassFactory() = default;
    CSimClassFactory(const CSimClassFactory&) = delete;
    CSimClassFactory& operator=(const CSimClassFactory&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    LONG m_refs = 1;
};
