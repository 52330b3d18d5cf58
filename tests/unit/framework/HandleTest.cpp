#include "ComInit.h"
#include "ComPtr.h"
#include "UniqueHandle.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

// Handles are small numbers; every close is recorded.
std::vector<int> g_closed;
struct CountedTraits {
    using Handle = int;
    static int Empty() { return 0; }
    static bool IsValid(int h) { return h > 0; }
    static void Close(int h) { g_closed.push_back(h); }
};
using CCounted = CUniqueHandle<CountedTraits>;

TEST(UniqueHandle, ClosesEachHandleExactlyOnceAcrossMovesAndResets) {
    g_closed.clear();
    {
        CCounted a(1);
        CCounted b(std::move(a));
        EXPECT_FALSE(a);
        EXPECT_EQ(b.Get(), 1);
        CCounted c(2);
        c = std::move(b); // 2 goes, 1 moves over
        EXPECT_EQ(g_closed, std::vector<int>({2}));
        c.Reset(1); // the same handle again: kept
        EXPECT_EQ(g_closed, std::vector<int>({2}));
        *c.Receive() = 3; // an out parameter closes what was held first
        EXPECT_EQ(g_closed, std::vector<int>({2, 1}));
        CCounted d(4);
        EXPECT_EQ(d.Detach(), 4); // no longer ours
        CCounted invalid(-1);     // never closed
    }
    EXPECT_EQ(g_closed, std::vector<int>({2, 1, 3}));
}

TEST(UniqueHandle, SystemHandlesTreatNullAndInvalidAsEmptyAndCloseTheRest) {
    EXPECT_FALSE(CKernelHandle(INVALID_HANDLE_VALUE));
    EXPECT_FALSE(CKernelHandle());
    HANDLE raw = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD flags = 0;
    {
        CKernelHandle event(raw);
        EXPECT_TRUE(event);
        EXPECT_TRUE(::GetHandleInformation(raw, &flags));
    }
    EXPECT_FALSE(::GetHandleInformation(raw, &flags));

    CRegKeyHandle key;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, key.Receive()),
              ERROR_SUCCESS);
    HKEY rawKey = key.Get();
    key.Close();
    EXPECT_NE(::RegQueryInfoKeyA(rawKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);

    HMENU rawMenu = ::CreatePopupMenu();
    {
        CMenuHandle menu(rawMenu);
        EXPECT_TRUE(::IsMenu(menu.Get()));
    }
    EXPECT_FALSE(::IsMenu(rawMenu));
}

// Counts its references.
class CObject : public IUnknown {
public:
    LONG refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = this;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
};

TEST(ComPtr, BalancesReferencesOverCopiesMovesAndOutParameters) {
    CObject object;
    {
        CComPtr<IUnknown> first;
        first.Attach(&object); // takes over the creation reference
        CComPtr<IUnknown> copy(first);
        EXPECT_EQ(object.refs, 2);
        CComPtr<IUnknown> moved(std::move(copy));
        EXPECT_EQ(object.refs, 2);
        moved = first;
        EXPECT_EQ(object.refs, 2);
        CComPtr<IUnknown> queried;
        EXPECT_EQ(first.QueryInterface(IID_IUnknown, queried), S_OK);
        EXPECT_EQ(object.refs, 3);
        object.QueryInterface(IID_IUnknown, queried.ReceiveVoid()); // the old one goes first
        EXPECT_EQ(object.refs, 3);
    }
    EXPECT_EQ(object.refs, 0);
}

// What CoInitialize answers on this thread now, undone at once.
HRESULT Probe() {
    HRESULT result = ::CoInitialize(nullptr);
    if (SUCCEEDED(result)) ::CoUninitialize();
    return result;
}

TEST(ComInit, InitialisesOncePerGuardAndUndoesOnlyItsOwnSuccess) {
    std::thread([] {
        {
            CComInit outer;
            EXPECT_EQ(outer.Initialize(), S_OK);
            EXPECT_EQ(outer.Initialize(), S_OK); // counted once
            CComInit inner;
            EXPECT_EQ(inner.Initialize(), S_FALSE);
            inner.Uninitialize();
            EXPECT_EQ(Probe(), S_FALSE); // the outer guard still holds COM
        }
        EXPECT_EQ(Probe(), S_OK); // all undone

        // A thread in the other apartment mode: the guard fails and leaves it alone.
        ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
        {
            CComInit guard;
            EXPECT_EQ(guard.Initialize(), RPC_E_CHANGED_MODE);
            EXPECT_FALSE(guard.IsInitialized());
        }
        EXPECT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
        ::CoUninitialize();
        ::CoUninitialize();
    }).join();
}

} // namespace
