// Holds one reference to a COM object and releases it when it goes. Copies add a reference,
// moves hand it over. Receive() serves functions that return an object through a pointer.
#pragma once

#include "Platform.h"

#include <objbase.h>

#include <cstddef>
#include <utility>

template <class T> class CComPtr {
public:
    CComPtr() = default;
    CComPtr(std::nullptr_t) {}
    ~CComPtr() { Reset(); }
    CComPtr(const CComPtr& other) : m_object(other.m_object) {
        if (m_object) m_object->AddRef();
    }
    CComPtr(CComPtr&& other) noexcept : m_object(other.Detach()) {}
    CComPtr& operator=(const CComPtr& other) {
        if (other.m_object) other.m_object->AddRef();
        Attach(other.m_object);
        return *this;
    }
    CComPtr& operator=(CComPtr&& other) noexcept {
        if (this != &other) Attach(other.Detach());
        return *this;
    }

    T* Get() const { return m_object; }
    T* operator->() const { return m_object; }
    operator T*() const { return m_object; }

    // Takes over a reference the caller owns (no AddRef), releasing the one held before.
    void Attach(T* object) {
        T* old = std::exchange(m_object, object);
        if (old) old->Release();
    }
    // Hands the reference to the caller.
    T* Detach() { return std::exchange(m_object, nullptr); }
    void Reset() { Attach(nullptr); }

    // Releases what is held and gives the slot to a function that stores a new reference.
    T** Receive() {
        Reset();
        return &m_object;
    }
    void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }

    // Asks the object for another interface.
    template <class U> HRESULT QueryInterface(REFIID iid, CComPtr<U>& out) const {
        if (!m_object) return E_POINTER;
        return m_object->QueryInterface(iid, out.ReceiveVoid());
    }

private:
    T* m_object = nullptr;
};
