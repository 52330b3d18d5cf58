#include "MessageOrigin.h"

namespace {

// The innermost own send in progress on this thread.
thread_local const CMessageOrigin::OwnSend* t_ownSend = nullptr;

// The last message this thread took from its queue.
struct TakenMessage {
    bool valid = false;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};
thread_local TakenMessage t_taken;

} // namespace

CMessageOrigin::CMessageOrigin() {
    m_hook = ::SetWindowsHookExA(WH_GETMESSAGE, WatchQueue, nullptr, ::GetCurrentThreadId());
}

CMessageOrigin::~CMessageOrigin() {
    if (m_hook) ::UnhookWindowsHookEx(m_hook);
    t_taken = TakenMessage();
}

LRESULT CALLBACK CMessageOrigin::WatchQueue(int code, WPARAM removal, LPARAM message) {
    if (code == HC_ACTION && removal == PM_REMOVE && message) {
        const MSG& taken = *reinterpret_cast<const MSG*>(message);
        t_taken = TakenMessage{true, taken.message, taken.wParam, taken.lParam};
    }
    return ::CallNextHookEx(nullptr, code, removal, message);
}

bool CMessageOrigin::IsOwnThread(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const OwnSend* own = t_ownSend)
        if (own->m_message == message && own->m_wParam == wParam && own->m_lParam == lParam)
            return true;
    if (::InSendMessageEx(nullptr) != ISMEX_NOSEND) return false;
    return !(t_taken.valid && t_taken.message == message && t_taken.wParam == wParam &&
             t_taken.lParam == lParam);
}

CMessageOrigin::OwnSend::OwnSend(UINT message, WPARAM wParam, LPARAM lParam)
    : m_message(message), m_wParam(wParam), m_lParam(lParam), m_outer(t_ownSend) {
    t_ownSend = this;
}

CMessageOrigin::OwnSend::~OwnSend() {
    t_ownSend = m_outer;
}

LRESULT CMessageOrigin::SendOwn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (::GetWindowThreadProcessId(window, nullptr) != ::GetCurrentThreadId())
        return ::SendMessageA(window, message, wParam, lParam);
    OwnSend own(message, wParam, lParam);
    return ::SendMessageA(window, message, wParam, lParam);
}
