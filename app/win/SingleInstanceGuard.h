// Keeps the program to one instance: a short-lived mutex serialises two
// starts racing each other, and a second mutex, held for the whole run, marks
// the running instance. A second start finds it taken, says so and brings the
// first instance's main window forward.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win/ScopedHandle.h"

namespace tidewell {

class TSingleInstanceGuard {
 public:
  TSingleInstanceGuard() = default;
  ~TSingleInstanceGuard();
  TSingleInstanceGuard(const TSingleInstanceGuard&) = delete;
  TSingleInstanceGuard& operator=(const TSingleInstanceGuard&) = delete;

  // True when no other instance runs; this instance then holds the mark for
  // as long as the guard lives.
  bool Acquire(const std::string& applicationTitle);

 private:
  TScopedHandle running_;
  bool held_ = false;
};

// Brings the other instance's window of that class and caption to the front
// (restored when minimised); windows of this process are skipped.
void BringOtherInstanceForward(const std::string& className,
                               const std::string& caption);

}  // namespace tidewell
