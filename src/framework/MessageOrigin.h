// Where the message a window procedure handles comes from. The program's private messages
// carry pointers into its own memory. Sent by another thread or process, or posted by anyone,
// such a pointer means nothing here, and a handler that read or wrote through it would damage
// the program or end it: those messages are honoured only when this thread's own code sends
// them.
//
// Typical use:
//     CMessageOrigin queueWatch;                        // the UI thread, for its whole run
//     if (!CMessageOrigin::IsOwnThread(message, wParam, lParam)) return 0;
//     CMessageOrigin::SendOwn(parent, message, wParam, reinterpret_cast<LPARAM>(&rect));
#pragma once

#include "Platform.h"

class CMessageOrigin {
public:
    // Watches the calling thread's queue while it lives (a message hook, so every loop is
    // seen, the system's modal ones too): a message taken from the queue is then known as
    // posted.
    CMessageOrigin();
    ~CMessageOrigin();
    CMessageOrigin(const CMessageOrigin&) = delete;
    CMessageOrigin& operator=(const CMessageOrigin&) = delete;

    // True when the calling thread's own code sent the message being handled (given as the
    // window procedure received it): not sent by another thread or process (InSendMessageEx
    // says so) and not the last message taken from the queue.
    static bool IsOwnThread(UINT message, WPARAM wParam, LPARAM lParam);

    // SendMessage, as an own send when the window belongs to this thread.
    static LRESULT SendOwn(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Marks a send of this thread's own code while it lives. InSendMessageEx speaks of the
    // message the thread is answering, so a send made while a message from elsewhere is
    // handled (a window moved by another program, a notification) would look foreign.
    class OwnSend {
    public:
        OwnSend(UINT message, WPARAM wParam, LPARAM lParam);
        ~OwnSend();
        OwnSend(const OwnSend&) = delete;
        OwnSend& operator=(const OwnSend&) = delete;

    private:
        friend class CMessageOrigin;
        UINT m_message;
        WPARAM m_wParam;
        LPARAM m_lParam;
        const OwnSend* m_outer;
    };

private:
    static LRESULT CALLBACK WatchQueue(int code, WPARAM removal, LPARAM message);
    HHOOK m_hook = nullptr;
};
