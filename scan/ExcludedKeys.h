// The rule by which the cleanup window hides a reported problem whose key the
// user excluded. The list is the lines of ExcludedKeys.txt; the key text is a
// problem's full key name (TRegistryCheckThread::RegistryErrorKeyText).
#pragma once

#include <string>
#include <vector>

namespace tidewell {

// True when an entry of the list equals `keyText` with letter case ignored, or
// occurs in it as a substring with letter case respected. The two rules differ
// on purpose: "hkey_local_machine\software\foo" hides exactly that key, while
// "Software\Foo" also hides everything below it, in the case the check used.
// An empty entry never matches. A doubled backslash in an entry also matches
// as a single one.
bool IsExcludedKey(const std::vector<std::string>& excludedList,
                   const std::string& keyText);

}  // namespace tidewell
