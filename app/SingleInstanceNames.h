// The names of the two mutexes that keep the program to one instance per
// session. Both start from the same base: the application title, the
// identifier, ".OneInstance.", with every backslash turned into "/" (a
// backslash would name a kernel object namespace).
#pragma once

#include <string>

namespace tidewell {

inline constexpr const char* kSingleInstanceIdentifier = "Tidewell";

std::string OneInstanceBaseName(const std::string& applicationTitle,
                                const std::string& identifier);
// Held only while the guard decides.
std::string CriticalSectionMutexName(const std::string& baseName);
// Held by the running instance for its whole life.
std::string DefaultMutexName(const std::string& baseName);

}  // namespace tidewell
