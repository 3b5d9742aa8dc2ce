// How work travels from a worker thread to the thread that owns the user
// interface. The scan engine delivers its OnTerminate call through it, and the
// cleanup window's engine handlers use Send to make their control changes on
// the user-interface thread while the scan thread waits.
//
// The one rule that keeps the two threads from blocking each other: an owner
// thread that waits for a worker (TRegistryCheckThread::WaitFor) must wait
// through WaitDelivering, which goes on carrying out posted work, because the
// ending worker may be waiting in Send or may have posted its OnTerminate.
//
// Implementations: TQueueDispatcher (scan/QueueDispatcher.h) for tests and
// console programs, which deliver by calling ProcessPending. The Win32 window
// implements the same interface on its message loop:
//   - Post appends the work to a mutex-guarded queue and PostMessage()s a
//     private WM_APP message to the window; the window procedure drains the
//     queue when that message arrives.
//   - WaitDelivering loops: drain the queue; if done() holds, return; else
//     MsgWaitForMultipleObjects(1, &wakeEvent, FALSE, INFINITE, QS_SENDMESSAGE
//     | QS_POSTMESSAGE) and, when a message woke it, PeekMessage(PM_NOREMOVE) so
//     that messages sent by other threads are served. Input and paint messages
//     are not dispatched there, so no user action re-enters the window while it
//     waits.
//   - Wake is SetEvent on that auto-reset event.
//   - IsOwnerThread compares GetCurrentThreadId() with the window's thread.
#pragma once

#include <functional>

namespace tidewell {

class TThreadDispatcher {
 public:
  virtual ~TThreadDispatcher() = default;

  // True on the thread that carries out posted work.
  virtual bool IsOwnerThread() const = 0;

  // Queues `work` for the owner thread and returns at once. Any thread may
  // post, the owner thread included (the work then runs at its next delivery).
  virtual void Post(std::function<void()> work) = 0;

  // Blocks until done() holds. On the owner thread posted work is carried out
  // meanwhile; on any other thread this only waits. done() is tested after
  // each piece of work and after each Wake; whoever makes it true from another
  // thread calls Wake afterwards.
  virtual void WaitDelivering(const std::function<bool()>& done) = 0;
  virtual void Wake() = 0;

  // Carries out `work` on the owner thread and returns when it has finished: at
  // once when called there, otherwise through Post, waiting for the owner to
  // deliver it. A failure of `work` is thrown again to the caller; work that
  // is dropped unrun (its dispatcher gone) fails with std::future_error. The
  // owner must be delivering (its message loop, ProcessPending or
  // WaitDelivering) or the caller waits for as long as it is not.
  void Send(const std::function<void()>& work);
};

}  // namespace tidewell
