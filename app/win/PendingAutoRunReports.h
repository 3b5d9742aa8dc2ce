// Whether the cleanup and compaction windows' automatic run failed. Neither
// window reports it yet: until each offers `bool AutoRunFailed() const`
// (undo step failed; compaction failed), these answer "not failed", and the
// chain treats the step as done. Each body then becomes
// `return window.AutoRunFailed();`.
#pragma once

#include "app/win/uRegistryCleanup.h"
#include "tools/win/uRegistryDefrag.h"

namespace tidewell {

// The cleanup window does not report a failed automatic run yet.
inline bool AutoRunFailedOf(const TfrmRegistryCleanup& /*window*/) { return false; }

// The compaction window does not report a failed automatic run yet.
inline bool AutoRunFailedOf(const TfrmRegistryDefrag& /*window*/) { return false; }

}  // namespace tidewell
