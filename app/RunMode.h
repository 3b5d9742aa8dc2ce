// RunMode: the process-wide navigation text through which a modal window tells
// the launcher what to do next. The settings window sets "Next" or "Back", the
// auto-run window sets "Autorun" or clears it; nothing resets it after a run.
#pragma once

#include <string>

namespace tidewell {

inline constexpr const char* kRunModeNext = "Next";
inline constexpr const char* kRunModeBack = "Back";
inline constexpr const char* kRunModeAutorun = "Autorun";

// Initially empty. Read and written on the user-interface thread only.
extern std::string RunMode;

}  // namespace tidewell
