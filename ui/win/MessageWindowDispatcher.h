// The user-interface thread's dispatcher: work posted from the scan thread
// waits in a queue, and a hidden message-only window carries it out when its
// private message arrives, in whatever message loop the thread runs at that
// moment (the launcher's, a modal window's, a message box's).
//
// WaitDelivering carries out queued work and serves messages that other
// threads send, but dispatches no input or paint messages: a window that waits
// for the scan thread cannot be re-entered by the user meanwhile.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <mutex>

#include "scan/ThreadDispatcher.h"

namespace tidewell {

class TMessageWindowDispatcher final : public TThreadDispatcher {
 public:
  // On the thread that is to carry out the work.
  TMessageWindowDispatcher();
  ~TMessageWindowDispatcher() override;
  TMessageWindowDispatcher(const TMessageWindowDispatcher&) = delete;
  TMessageWindowDispatcher& operator=(const TMessageWindowDispatcher&) = delete;

  bool IsOwnerThread() const override;
  void Post(std::function<void()> work) override;
  void WaitDelivering(const std::function<bool()>& done) override;
  void Wake() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Carries out what is queued, one piece at a time so that a piece may wait
  // (and deliver) itself. A failing piece is swallowed: it has nowhere to go.
  void DeliverQueued();

  const DWORD ownerThread_;
  HWND window_ = nullptr;
  HANDLE wake_ = nullptr;
  std::mutex mutex_;
  std::deque<std::function<void()>> queue_;
};

}  // namespace tidewell
