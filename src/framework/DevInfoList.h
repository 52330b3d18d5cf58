// Sole owner of a SetupAPI device information list (empty: INVALID_HANDLE_VALUE or null).
#pragma once

#include "UniqueHandle.h"

#include <setupapi.h>

struct DevInfoListTraits {
    using Handle = HDEVINFO;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Handle h) { return h && h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::SetupDiDestroyDeviceInfoList(h); }
};
using CDevInfoList = CUniqueHandle<DevInfoListTraits>;
