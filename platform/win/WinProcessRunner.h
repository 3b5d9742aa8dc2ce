// TProcessRunner over CreateProcessW.
#pragma once

#include "platform/Process.h"

namespace tidewell {

class WinProcessRunner final : public TProcessRunner {
 public:
  std::optional<unsigned long> RunAndWait(const std::string& commandLine,
                                          const std::string& workingFolder) override;
};

}  // namespace tidewell
