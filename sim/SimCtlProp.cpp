#include "Platform.h"

#include "SimCtlProp.h"

#include "ComPtr.h"
#include "SimCardControl.h"
#include "UniqueHandle.h"
#include "SimVendor.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using GetClassObjectFunction = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);

// The control object straight from the card's DLL, as a registered server would give it. The
// DLL is loaded into dll, which must outlive the object.
CComPtr<ISimCardControl> CreateControl(const std::string& driverPath, CModuleHandle& dll) {
    CComPtr<ISimCardControl> control;
    dll.Reset(LoadLibraryA(driverPath.c_str()));
    if (!dll) return control;
    auto getClassObject = reinterpret_cast<GetClassObjectFunction>(
        reinterpret_cast<void*>(GetProcAddress(dll.Get(), "DllGetClassObject")));
    CComPtr<IClassFactory> factory;
    if (!getClassObject ||
        FAILED(getClassObject(CLSID_SimCardControl, IID_IClassFactory, factory.ReceiveVoid())))
        return control;
    factory->CreateInstance(nullptr, kSimCardControlIids[0], control.ReceiveVoid());
    return control;
}

bool ParseNumber(const char* text, unsigned long limit, unsigned long* value) {
    char* end = nullptr;
    errno = 0;
    unsigned long parsed = std::strtoul(text, &end, 0);
    if (errno || end == text || *end || text[0] == '-' || parsed > limit) return false;
    *value = parsed;
    return true;
}

int Usage() {
    std::fprintf(stderr, "usage: quendasim-ctl %s\n", kSimPropUsage);
    return 2;
}

} // namespace

int SimPropCommand(const std::string& driverPath, int argc, char** args) {
    if (argc < 2) return Usage();
    const std::string verb = args[0];
    unsigned long id = 0;
    if ((verb != "get" || argc != 2) && (verb != "set" || argc < 3)) return Usage();
    if (!ParseNumber(args[1], 0xFFFFFFFF, &id) || CSimVendor::PropertySize(id) == 0) {
        std::fprintf(stderr, "no card property %s (1 to 5)\n", args[1]);
        return 2;
    }
    DWORD size = CSimVendor::PropertySize(id);
    std::vector<BYTE> bytes(size);
    if (verb == "set") {
        if (static_cast<DWORD>(argc - 2) != size) {
            std::fprintf(stderr, "property %lu takes %lu bytes\n", id,
                         static_cast<unsigned long>(size));
            return 2;
        }
        for (DWORD i = 0; i < size; ++i) {
            unsigned long value = 0;
            if (!ParseNumber(args[2 + i], 255, &value)) {
                std::fprintf(stderr, "not a byte: %s\n", args[2 + i]);
                return 2;
            }
            bytes[i] = static_cast<BYTE>(value);
        }
    }

    CModuleHandle dll;
    CComPtr<ISimCardControl> control = CreateControl(driverPath, dll);
    if (!control) {
        std::fprintf(stderr, "the card's control object is not available\n");
        return 1;
    }
    LONG done = verb == "set" ? control->SetProperty(id, bytes.data(), size)
                              : control->GetProperty(id, bytes.data(), size);
    control.Reset();
    if (!done) {
        std::fprintf(stderr, "the card refused property %lu\n", id);
        return 1;
    }
    if (verb == "get") {
        for (DWORD i = 0; i < size; ++i)
            std::printf(i ? " %u" : "%u", bytes[i]);
        std::printf("\n");
    }
    return 0;
}
