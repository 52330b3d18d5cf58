// Owning wrapper of one GDI object; deleted when the wrapper goes. Borrowed objects are
// plain handles and never wrapped. Derived wrappers may keep more state than the handle, so
// they are destroyed, attached and detached through virtual functions, also through a base.
#pragma once

#include "Platform.h"

#include <utility>

template <class H> class CGdiObject {
public:
    CGdiObject() = default;
    explicit CGdiObject(H handle) : m_handle(handle) {}
    virtual ~CGdiObject() { CGdiObject::DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    CGdiObject(CGdiObject&& other) noexcept : m_handle(other.Detach()) {}
    CGdiObject& operator=(CGdiObject&& other) noexcept {
        if (this != &other) Attach(other.Detach());
        return *this;
    }

    H GetSafeHandle() const { return m_handle; }
    operator H() const { return m_handle; }
    bool IsNull() const { return m_handle == nullptr; }

    // Takes ownership of a handle, dropping the one held before.
    virtual void Attach(H handle) {
        if (handle == m_handle) return;
        DeleteObject();
        m_handle = handle;
    }
    virtual H Detach() { return std::exchange(m_handle, nullptr); }
    virtual void DeleteObject() {
        if (m_handle) ::DeleteObject(m_handle);
        m_handle = nullptr;
    }

protected:
    H m_handle = nullptr;
};
