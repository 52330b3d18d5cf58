// COM on the current thread for as long as the object that needs it lives. Initialize counts
// once per guard however often it is called; the guard uninitialises only when its own
// initialisation succeeded (a thread already in another apartment mode is left alone), and
// only on the thread that initialised.
#pragma once

#include "Platform.h"

#include <objbase.h>

class CComInit {
public:
    CComInit() = default;
    ~CComInit() { Uninitialize(); }
    CComInit(const CComInit&) = delete;
    CComInit& operator=(const CComInit&) = delete;

    // S_OK or S_FALSE once COM is initialised for this guard; the error otherwise.
    HRESULT Initialize() {
        if (m_thread) return S_OK;
        HRESULT result = ::CoInitialize(nullptr);
        if (SUCCEEDED(result)) m_thread = ::GetCurrentThreadId();
        return result;
    }
    void Uninitialize() {
        if (!m_thread) return;
        if (m_thread == ::GetCurrentThreadId()) ::CoUninitialize();
        m_thread = 0;
    }
    bool IsInitialized() const { return m_thread != 0; }

private:
    DWORD m_thread = 0; // the thread whose initialisation this guard holds
};
