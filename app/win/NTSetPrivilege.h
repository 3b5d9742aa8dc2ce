// Enables or disables one privilege in the current process's token. On the
// Windows 9x family there are no privileges: nothing happens and the answer is
// true. Any failure throws EOSError with the system's message, including a
// privilege the token does not hold (ERROR_NOT_ALL_ASSIGNED).
#pragma once

#include <string>

namespace tidewell {

bool IsNtFamily();
bool NTSetPrivilege(const std::string& name, bool enable);

}  // namespace tidewell
