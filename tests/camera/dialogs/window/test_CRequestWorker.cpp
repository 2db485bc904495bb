#include "camera/dialogs/window/CRequestWorker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>

namespace {

std::shared_ptr<RequestJob> Job(std::function<BOOL(CString&)> call)
{
    auto job = std::make_shared<RequestJob>();
    job->call = std::move(call);
    return job;
}

void WaitDone(const RequestJob& job)
{
    for (int i = 0; i < 500 && !job.done; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

TEST(RequestWorker, RunsInOrderAndJudgesTheBody)
{
    CRequestWorker worker;
    std::string order;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    auto first = Job([&](CString& reply) {
        released.wait();  // the others queue up behind a hanging request
        order += '1';
        reply = "var a=\"1\";\r\n";
        return TRUE;
    });
    auto refused = Job([&](CString& reply) {
        order += '2';
        reply = "[Error]-volume: bad value.\r\n";
        return TRUE;
    });
    auto failed = Job([&](CString&) {
        order += '3';
        return FALSE;
    });
    ASSERT_TRUE(worker.Post(first));
    ASSERT_TRUE(worker.Post(refused));
    ASSERT_TRUE(worker.Post(failed));
    EXPECT_TRUE(worker.Busy());
    release.set_value();
    WaitDone(*failed);
    EXPECT_EQ(order, "123");
    EXPECT_TRUE(first->Succeeded());
    EXPECT_FALSE(refused->Succeeded());  // status 200 but the camera refused
    EXPECT_FALSE(failed->Succeeded());
}

TEST(RequestWorker, DroppedAndStoppedJobsNeverRun)
{
    CRequestWorker worker;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::promise<void> started;
    bool laterRan = false;
    auto hanging = Job([&](CString&) {
        started.set_value();
        released.wait();
        return TRUE;
    });
    auto later = Job([&](CString&) { return laterRan = true; });
    worker.Post(hanging);
    worker.Post(later);
    started.get_future().wait();
    worker.DropQueued();
    release.set_value();
    WaitDone(*hanging);
    worker.Stop();
    EXPECT_FALSE(laterRan);
    EXPECT_FALSE(later->done);
    EXPECT_FALSE(worker.Post(Job([](CString&) { return TRUE; })));
}

}  // namespace
