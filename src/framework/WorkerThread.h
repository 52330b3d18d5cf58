// One piece of work at a time on a thread of its own, for what a window coming up need not
// wait for. Start waits for the work before it; Wait returns once the work started last is
// done; the destructor waits too, so the work never outlives its worker. Declared after the
// members its work uses, the worker goes (and waits) before them.
//
// The worker belongs to one thread, the one that starts and waits; the work must not wait
// for its own worker.
#pragma once

#include "Platform.h"

#include <functional>
#include <thread>

class CWorkerThread {
public:
    CWorkerThread() = default;
    ~CWorkerThread() { Wait(); }
    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;

    // Runs work on a new thread once the work before it is done. Where no thread can be had,
    // the work runs here and now, so it is never lost.
    void Start(std::function<void()> work);
    // Returns once the work started last is done; at once when there is none.
    void Wait() const {
        if (m_thread.joinable()) m_thread.join();
    }

private:
    mutable std::thread m_thread;
};
