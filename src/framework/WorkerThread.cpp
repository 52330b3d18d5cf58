#include "WorkerThread.h"

#include <system_error>

void CWorkerThread::Start(std::function<void()> work) {
    Wait();
    try {
        m_thread = std::thread(work);
    } catch (const std::system_error&) {
        work();
    }
}
