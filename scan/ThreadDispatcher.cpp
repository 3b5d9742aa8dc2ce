#include "scan/ThreadDispatcher.h"

#include <exception>
#include <future>
#include <memory>

namespace tidewell {

void TThreadDispatcher::Send(const std::function<void()>& work) {
  if (IsOwnerThread()) {
    work();
    return;
  }
  // The promise is shared with the posted work: this frame may end the moment
  // the result is set, while the owner thread is still inside set_value. `work`
  // itself is only used before that moment.
  auto finished = std::make_shared<std::promise<void>>();
  std::future<void> result = finished->get_future();
  Post([&work, finished] {
    try {
      work();
      finished->set_value();
    } catch (...) {
      finished->set_exception(std::current_exception());
    }
  });
  result.get();
}

}  // namespace tidewell
