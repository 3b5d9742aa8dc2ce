#include "scan/ThreadDispatcher.h"

#include <exception>
#include <future>
#include <memory>
#include <mutex>

#include "platform/HandOffLock.h"

namespace tidewell {
namespace {

// The reply to one piece of sent work. It is shared with the posted work: the
// sender may return the moment the reply is marked, while the owner thread is
// still finishing its part.
struct TReply {
  THandOffMutex mutex;
  THandOffCondition arrived;
  bool done = false;
  std::exception_ptr failure;

  void Give(std::exception_ptr outcome) {
    {
      std::lock_guard<THandOffMutex> lock(mutex);
      if (done) return;
      failure = std::move(outcome);
      done = true;
    }
    arrived.notify_all();
  }
};

// Travels with the posted work. Work that is dropped without being carried out
// (its dispatcher went away) still answers, with a failure, so that the sender
// does not wait for ever.
struct TReplyOnDrop {
  std::shared_ptr<TReply> reply;
  ~TReplyOnDrop() {
    if (!reply) return;
    reply->Give(std::make_exception_ptr(std::future_error(std::future_errc::broken_promise)));
  }
};

}  // namespace

void TThreadDispatcher::Send(const std::function<void()>& work) {
  if (IsOwnerThread()) {
    work();
    return;
  }
  // The wait uses the hand-off lock rather than a std::future: with
  // mingw-w64 a future waits on winpthreads, a round trip to the wine server
  // for every problem the scan hands over.
  auto reply = std::make_shared<TReply>();
  auto onDrop = std::make_shared<TReplyOnDrop>();
  onDrop->reply = reply;
  // Only the posted work may hold onDrop, or dropping the work would not drop it.
  Post([&work, reply, onDrop = std::move(onDrop)] {
    try {
      work();
      reply->Give(nullptr);
    } catch (...) {
      reply->Give(std::current_exception());
    }
  });
  std::unique_lock<THandOffMutex> lock(reply->mutex);
  reply->arrived.wait(lock, [&reply] { return reply->done; });
  if (reply->failure) std::rethrow_exception(reply->failure);
}

}  // namespace tidewell
