// The seam for starting another program and waiting for it, so that what a
// caller does with the outcome (a backup counted as made or not) is tested
// without starting anything.
#pragma once

#include <optional>
#include <string>

namespace tidewell {

class TProcessRunner {
 public:
  virtual ~TProcessRunner() = default;
  // Starts `commandLine` (the first word names the program; the system's
  // search rules find it) with `workingFolder` as its current folder, in a
  // console of its own and its window shown normally, and waits until it has
  // ended. Returns its exit code, or nothing when it could not be started.
  virtual std::optional<unsigned long> RunAndWait(const std::string& commandLine,
                                                  const std::string& workingFolder) = 0;
};

}  // namespace tidewell
