// TShell over ShellExecuteExW.
#pragma once

#include "platform/Shell.h"

namespace tidewell {

class WinShell final : public TShell {
 public:
  std::unique_ptr<TStartedProgram> OpenDocument(const std::string& file,
                                                const std::string& folder) override;
};

}  // namespace tidewell
