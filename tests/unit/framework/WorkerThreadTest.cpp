// The worker: each piece of work is done before the next starts, before Wait returns and
// before the worker goes.
#include "WorkerThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>

namespace {

TEST(WorkerThread, WorkIsDoneInOrderAndBeforeWaitOrTheEndReturn) {
    std::string done;
    std::atomic<bool> release{false};
    {
        CWorkerThread worker;
        worker.Start([&] {
            while (!release)
                ::Sleep(1); // held until the test has looked
            done += "a";
        });
        EXPECT_EQ(done, "");
        release = true;
        worker.Start([&] { done += "b"; }); // after "a"
        worker.Wait();
        EXPECT_EQ(done, "ab");
        worker.Start([&] {
            ::Sleep(50);
            done += "c";
        });
    }
    EXPECT_EQ(done, "abc");
}

} // namespace
