// The uninstall check's test for an entry that holds nothing: no subkeys and
// no value but empty strings.
#pragma once

#include "registry/Registry.h"

namespace tidewell {

// Works on the key open in `registry`. A key with no values and no subkeys is
// empty; a number or raw bytes make it not empty. Registry read failures
// reach the caller.
bool IsEmptyKey(TRegistry& registry);

}  // namespace tidewell
