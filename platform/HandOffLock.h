// The lock and condition variable that thread hand-offs wait on: a dispatcher's
// queue of posted work, and the reply to a piece of work sent to the
// user-interface thread.
//
// With mingw-w64's posix thread model, std::mutex and std::condition_variable
// are built on winpthreads, whose condition variable signals and waits on
// kernel semaphores. Under Wine each of those is a round trip to the wine
// server: one hand-off and its reply took 230-440 us there, and a scan hands
// every problem it finds to the user-interface thread and waits for it.
// Windows' own slim reader/writer lock and condition variable, which Wine
// serves without its server, take 37 us for the same. Elsewhere the standard
// types serve.
#pragma once

#include <condition_variable>
#include <mutex>

namespace tidewell {

#if defined(_WIN32)

// Meets the standard's Lockable requirements: std::lock_guard and
// std::unique_lock take it. Not recursive.
class THandOffMutex {
 public:
  THandOffMutex() = default;
  THandOffMutex(const THandOffMutex&) = delete;
  THandOffMutex& operator=(const THandOffMutex&) = delete;

  void lock();
  bool try_lock();
  void unlock();

 private:
  friend class THandOffCondition;
  void* srwLock_ = nullptr;  // an SRWLOCK: one pointer, null when free
};

class THandOffCondition {
 public:
  THandOffCondition() = default;
  THandOffCondition(const THandOffCondition&) = delete;
  THandOffCondition& operator=(const THandOffCondition&) = delete;

  // Releases the held lock while it waits and holds it again on return, which
  // may come without a notification.
  void wait(std::unique_lock<THandOffMutex>& lock);
  template <class Predicate>
  void wait(std::unique_lock<THandOffMutex>& lock, Predicate ready) {
    while (!ready()) wait(lock);
  }
  void notify_one();
  void notify_all();

 private:
  void* condition_ = nullptr;  // a CONDITION_VARIABLE: one pointer, null at rest
};

#else

using THandOffMutex = std::mutex;
using THandOffCondition = std::condition_variable;

#endif

}  // namespace tidewell
