// The privileges the program asks for when it starts: restore and backup for
// the hive compaction and restores, take-ownership, and shutdown for the
// restart after a compaction. An account without them still runs the program:
// the first refusal ends the sequence silently and the later ones are not
// requested; what needs them fails where it is used.
#pragma once

#include <array>
#include <functional>
#include <string>

namespace tidewell {

inline constexpr std::array<const char*, 4> kStartupPrivileges = {
    "SeRestorePrivilege",
    "SeBackupPrivilege",
    "SeTakeOwnershipPrivilege",
    "SeShutdownPrivilege",
};

// Calls `enable` for each privilege in order (NTSetPrivilege, which throws
// on failure) until one throws; the exception is swallowed. Returns how many
// were enabled.
int EnableStartupPrivileges(
    const std::function<void(const std::string& privilege)>& enable);

}  // namespace tidewell
