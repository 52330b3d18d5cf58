// The COM server entry points of the simulated card's DLL, and its registration: the vendor
// control class, the card's media-class device and the driver file "quenda.sys".
#include "Platform.h"

#include "ComPtr.h"
#include "SimCardControl.h"
#include "SimClassFactory.h"
#include "SimDevice.h"
#include "SimRegistration.h"

#include <olectl.h>

#include <new>
#include <string>

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!IsEqualCLSID(clsid, CLSID_SimCardControl)) return CLASS_E_CLASSNOTAVAILABLE;
    // A driver package without the vendor object, or one for the other architecture only.
    if (::GetEnvironmentVariableA(kSimNoVendorVariable, nullptr, 0) > 0)
        return CLASS_E_CLASSNOTAVAILABLE;
    CComPtr<CSimClassFactory> factory;
    factory.Attach(new (std::nothrow) CSimClassFactory); // holds the creation reference
    if (!factory) return E_OUTOFMEMORY;
    return factory->QueryInterface(iid, object);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return CSimCardControl::LiveCount() == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    return SimRegister() ? S_OK : SELFREG_E_CLASS;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    return SimUnregister() ? S_OK : SELFREG_E_CLASS;
}
