// A thread dispatcher without a window: posted work waits in a queue until the
// owner thread (the one that created the dispatcher) calls ProcessPending or
// waits in WaitDelivering. Tests and console programs use it where the Win32
// window uses its message loop.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <thread>

#include "platform/HandOffLock.h"
#include "scan/ThreadDispatcher.h"

namespace tidewell {

class TQueueDispatcher : public TThreadDispatcher {
 public:
  TQueueDispatcher();
  TQueueDispatcher(const TQueueDispatcher&) = delete;
  TQueueDispatcher& operator=(const TQueueDispatcher&) = delete;

  bool IsOwnerThread() const override;
  void Post(std::function<void()> work) override;
  void WaitDelivering(const std::function<bool()>& done) override;
  void Wake() override;

  // On the owner thread: carries out the work that was queued when the call
  // began, oldest first, and returns how much it carried out. Work posted
  // meanwhile waits for the next call. A failure of one piece of work is thrown
  // to the caller; the pieces after it stay queued. Elsewhere: does nothing.
  std::size_t ProcessPending();

 private:
  // Takes the oldest piece of work off the queue (the lock is held).
  std::function<void()> TakeFirst();

  const std::thread::id owner_;
  THandOffMutex mutex_;
  THandOffCondition changed_;
  std::deque<std::function<void()>> queue_;
};

}  // namespace tidewell
