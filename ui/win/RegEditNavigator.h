// Brings the system registry editor to the front at a key and a value: its
// tree is walked down the key's names, each node opened as the Right key opens
// it, and the value is highlighted in its list. Names are matched the
// registry's way, without regard to letter case, and read from the controls
// themselves, so the result does not hang on how fast the editor's
// type-ahead forgets what was typed.
#pragma once

#include <string>

namespace tidewell {

// False when no editor window could be found or started; anything that goes
// wrong after that is left to the user to see.
bool OpenRegEditWithKey(const std::string& key, const std::string& value);

}  // namespace tidewell
