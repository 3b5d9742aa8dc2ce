// What the list windows say when a double-click cannot bring up the system
// registry editor. Kept apart from the Win32 navigator so that the portable
// presenters can show it too.
#pragma once

namespace tidewell {

inline constexpr const char* kRegEditMissingText = "Can't run Regedit.";

}  // namespace tidewell
