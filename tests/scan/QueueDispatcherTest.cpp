#include "scan/QueueDispatcher.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <future>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace tidewell {
namespace {

TEST(QueueDispatcherTest, PostedWorkWaitsForTheOwnerAndRunsThere) {
  TQueueDispatcher dispatcher;
  const std::thread::id owner = std::this_thread::get_id();
  std::thread::id ranOn;
  std::thread poster([&] {
    EXPECT_FALSE(dispatcher.IsOwnerThread());
    dispatcher.Post([&] { ranOn = std::this_thread::get_id(); });
    // Not the owner: nothing is carried out here.
    EXPECT_EQ(dispatcher.ProcessPending(), 0u);
  });
  poster.join();
  EXPECT_EQ(ranOn, std::thread::id());
  EXPECT_EQ(dispatcher.ProcessPending(), 1u);
  EXPECT_EQ(ranOn, owner);
}

TEST(QueueDispatcherTest, ProcessPendingRunsOnlyWhatWasQueuedInOrder) {
  TQueueDispatcher dispatcher;
  std::vector<std::string> ran;
  dispatcher.Post([&] {
    ran.push_back("first");
    dispatcher.Post([&] { ran.push_back("posted meanwhile"); });
  });
  dispatcher.Post([&] { ran.push_back("second"); });
  EXPECT_EQ(dispatcher.ProcessPending(), 2u);
  EXPECT_EQ(ran, (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(dispatcher.ProcessPending(), 1u);
  EXPECT_EQ(ran.back(), "posted meanwhile");
}

TEST(QueueDispatcherTest, FailingWorkReachesTheCallerAndTheRestStaysQueued) {
  TQueueDispatcher dispatcher;
  bool laterRan = false;
  dispatcher.Post([] { throw std::runtime_error("handler failed"); });
  dispatcher.Post([&] { laterRan = true; });
  EXPECT_THROW(dispatcher.ProcessPending(), std::runtime_error);
  EXPECT_FALSE(laterRan);
  EXPECT_EQ(dispatcher.ProcessPending(), 1u);
  EXPECT_TRUE(laterRan);
}

TEST(QueueDispatcherTest, SendOnTheOwnerThreadRunsAtOnce) {
  TQueueDispatcher dispatcher;
  bool ran = false;
  dispatcher.Send([&] { ran = true; });
  EXPECT_TRUE(ran);
  EXPECT_EQ(dispatcher.ProcessPending(), 0u);
}

TEST(QueueDispatcherTest, SendFromAWorkerIsServedWhileTheOwnerWaits) {
  TQueueDispatcher dispatcher;
  std::vector<int> rows;  // touched on the owner thread only
  std::atomic<bool> workerDone{false};
  std::thread worker([&] {
    for (int i = 0; i < 50; ++i) {
      dispatcher.Send([&rows, i] { rows.push_back(i); });
    }
    workerDone = true;
    dispatcher.Wake();
  });
  dispatcher.WaitDelivering([&] { return workerDone.load(); });
  worker.join();
  ASSERT_EQ(rows.size(), 50u);
  EXPECT_EQ(rows.front(), 0);
  EXPECT_EQ(rows.back(), 49);
}

TEST(QueueDispatcherTest, SendCarriesAFailureBackToTheSender) {
  TQueueDispatcher dispatcher;
  std::atomic<bool> caught{false};
  std::atomic<bool> workerDone{false};
  std::thread worker([&] {
    try {
      dispatcher.Send([] { throw std::runtime_error("control gone"); });
    } catch (const std::runtime_error& e) {
      caught = std::string(e.what()) == "control gone";
    }
    workerDone = true;
    dispatcher.Wake();
  });
  dispatcher.WaitDelivering([&] { return workerDone.load(); });
  worker.join();
  EXPECT_TRUE(caught);
}

TEST(QueueDispatcherTest, WaitingOffTheOwnerThreadOnlyWaits) {
  TQueueDispatcher dispatcher;
  std::atomic<bool> ran{false};
  std::atomic<bool> done{false};
  dispatcher.Post([&] { ran = true; });
  std::thread waiter([&] {
    dispatcher.WaitDelivering([&] { return done.load(); });
    EXPECT_FALSE(ran);
  });
  done = true;
  dispatcher.Wake();
  waiter.join();
  EXPECT_EQ(dispatcher.ProcessPending(), 1u);
  EXPECT_TRUE(ran);
}

// A dispatcher whose owner has gone: what is posted is dropped unrun.
class TGoneOwnerDispatcher : public TThreadDispatcher {
 public:
  bool IsOwnerThread() const override { return false; }
  void Post(std::function<void()>) override {}
  void WaitDelivering(const std::function<bool()>&) override {}
  void Wake() override {}
};

TEST(QueueDispatcherTest, SendWhoseWorkIsDroppedFailsInsteadOfWaitingForEver) {
  TGoneOwnerDispatcher dispatcher;
  bool ran = false;
  EXPECT_THROW(dispatcher.Send([&] { ran = true; }), std::future_error);
  EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace tidewell
