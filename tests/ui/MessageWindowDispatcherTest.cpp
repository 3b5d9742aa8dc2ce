// The user-interface thread's dispatcher with a real message loop: work sent
// from another thread runs on the owner thread in whatever loop runs there,
// a failure travels back to the sender, and waiting delivers posted work
// without dispatching the user's input.
#include <windows.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

#include "ui/win/MessageWindowDispatcher.h"

namespace tidewell {
namespace {

TEST(MessageWindowDispatcherTest, SendRunsOnTheOwnerInItsLoopAndWaitingDeliversNoInput) {
  TMessageWindowDispatcher dispatcher;
  const DWORD owner = GetCurrentThreadId();
  std::atomic<DWORD> ranOn{0};
  std::atomic<bool> failureCameBack{false};
  std::atomic<bool> done{false};

  std::thread worker([&] {
    dispatcher.Send([&] { ranOn = GetCurrentThreadId(); });
    try {
      dispatcher.Send([] { throw std::runtime_error("refused"); });
    } catch (const std::runtime_error&) {
      failureCameBack = true;
    }
    done = true;
    PostThreadMessageW(owner, WM_NULL, 0, 0);
  });
  // A plain message loop, as the launcher and every modal window run.
  MSG message;
  while (!done && GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  worker.join();
  EXPECT_EQ(ranOn.load(), owner);
  EXPECT_TRUE(failureCameBack);

  // While the owner waits, sent work runs but a posted input message waits
  // for the message loop.
  HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                nullptr, nullptr);
  PostMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
  std::atomic<int> delivered{0};
  std::thread sender([&] {
    for (int i = 0; i < 100; ++i) dispatcher.Send([&] { ++delivered; });
  });
  dispatcher.WaitDelivering([&] { return delivered == 100; });
  sender.join();
  EXPECT_EQ(delivered, 100);
  EXPECT_TRUE(PeekMessageW(&message, window, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE))
      << "input is left for the message loop";
  DestroyWindow(window);
}

}  // namespace
}  // namespace tidewell
