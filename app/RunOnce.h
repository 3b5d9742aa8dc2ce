// The start-up cleanup of a run-once registration: if the machine's RunOnce
// key holds a value named after the program file (name and extension), it is
// deleted, so that a registration left by an installer or an earlier version
// does not start the program again. The program itself never registers there.
#pragma once

#include <string>

#include "registry/RegistryStore.h"

namespace tidewell {

inline constexpr const char* kRunOnceKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

// True when a value was found and deleted. Never throws: a missing key or a
// refused deletion leaves things as they are.
bool RunOnceCleanup(RegistryStore& store, const std::string& programFile);

}  // namespace tidewell
