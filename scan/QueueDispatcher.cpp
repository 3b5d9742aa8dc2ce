#include "scan/QueueDispatcher.h"

#include <mutex>
#include <utility>

namespace tidewell {

TQueueDispatcher::TQueueDispatcher() : owner_(std::this_thread::get_id()) {}

bool TQueueDispatcher::IsOwnerThread() const {
  return std::this_thread::get_id() == owner_;
}

void TQueueDispatcher::Post(std::function<void()> work) {
  {
    std::lock_guard<THandOffMutex> lock(mutex_);
    queue_.push_back(std::move(work));
  }
  changed_.notify_all();
}

void TQueueDispatcher::Wake() {
  // Taking the lock orders this wake after any test of done() that a waiter
  // made under the lock, so the notification cannot fall between its test and
  // its wait.
  { std::lock_guard<THandOffMutex> lock(mutex_); }
  changed_.notify_all();
}

void TQueueDispatcher::WaitDelivering(const std::function<bool()>& done) {
  const bool deliver = IsOwnerThread();
  std::unique_lock<THandOffMutex> lock(mutex_);
  while (!done()) {
    if (deliver && !queue_.empty()) {
      std::function<void()> work = TakeFirst();
      // The work may post, send or wake: it must run without the lock.
      lock.unlock();
      work();
      lock.lock();
      continue;
    }
    changed_.wait(lock);
  }
}

std::size_t TQueueDispatcher::ProcessPending() {
  if (!IsOwnerThread()) return 0;
  std::size_t pending = 0;
  {
    std::lock_guard<THandOffMutex> lock(mutex_);
    pending = queue_.size();
  }
  std::size_t carriedOut = 0;
  while (carriedOut < pending) {
    std::function<void()> work;
    {
      std::lock_guard<THandOffMutex> lock(mutex_);
      if (queue_.empty()) break;
      work = TakeFirst();
    }
    ++carriedOut;
    work();
  }
  return carriedOut;
}

std::function<void()> TQueueDispatcher::TakeFirst() {
  std::function<void()> work = std::move(queue_.front());
  queue_.pop_front();
  return work;
}

}  // namespace tidewell
