#include "ui/win/MessageWindowDispatcher.h"

#include <utility>

namespace tidewell {
namespace {

constexpr UINT kDeliverMessage = WM_APP + 0x51;
constexpr const wchar_t* kClassName = L"TidewellDispatcher";

}  // namespace

TMessageWindowDispatcher::TMessageWindowDispatcher() : ownerThread_(GetCurrentThreadId()) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  if (!GetClassInfoExW(GetModuleHandleW(nullptr), kClassName, &windowClass)) {
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &TMessageWindowDispatcher::WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);
  }
  window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  wake_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
}

TMessageWindowDispatcher::~TMessageWindowDispatcher() {
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
  CloseHandle(wake_);
}

bool TMessageWindowDispatcher::IsOwnerThread() const {
  return GetCurrentThreadId() == ownerThread_;
}

void TMessageWindowDispatcher::Post(std::function<void()> work) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.push_back(std::move(work));
  }
  // The message reaches any message loop; the event reaches WaitDelivering.
  PostMessageW(window_, kDeliverMessage, 0, 0);
  SetEvent(wake_);
}

void TMessageWindowDispatcher::Wake() { SetEvent(wake_); }

void TMessageWindowDispatcher::WaitDelivering(const std::function<bool()>& done) {
  const bool deliver = IsOwnerThread();
  for (;;) {
    if (deliver) DeliverQueued();
    if (done()) return;
    // Wakes for Post and Wake through the event, and for messages that other
    // threads send to this thread's windows, which PeekMessage serves.
    const DWORD woken = deliver ? MsgWaitForMultipleObjects(1, &wake_, FALSE, INFINITE,
                                                            QS_SENDMESSAGE)
                                : WaitForSingleObject(wake_, INFINITE);
    if (deliver && woken == WAIT_OBJECT_0 + 1) {
      MSG message;
      PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
  }
}

void TMessageWindowDispatcher::DeliverQueued() {
  for (;;) {
    std::function<void()> work;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (queue_.empty()) return;
      work = std::move(queue_.front());
      queue_.pop_front();
    }
    try {
      work();
    } catch (...) {
    }
  }
}

LRESULT CALLBACK TMessageWindowDispatcher::WindowProc(HWND window, UINT message, WPARAM wParam,
                                                      LPARAM lParam) {
  if (message == kDeliverMessage) {
    auto* self = reinterpret_cast<TMessageWindowDispatcher*>(
        GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr) self->DeliverQueued();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace tidewell
