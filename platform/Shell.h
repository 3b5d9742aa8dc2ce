// The shell seam: opening a document with the program the system has
// registered for it (the shell's "open" verb), and waiting for that program
// to end. Tests use a fake; the Windows implementation uses ShellExecuteEx.
#pragma once

#include <memory>
#include <string>

namespace tidewell {

// A program the shell started.
class TStartedProgram {
 public:
  virtual ~TStartedProgram() = default;
  // Waits at most `milliseconds`; true once the program has ended (or when
  // the shell handed the document to a program already running, which gives
  // nothing to wait for).
  virtual bool WaitForEnd(int milliseconds) = 0;
};

class TShell {
 public:
  virtual ~TShell() = default;
  // Opens `file` with the "open" verb, `folder` as the working folder, in a
  // normal window. Null when nothing could be started (no program registered
  // for the file's type, or the start failed).
  virtual std::unique_ptr<TStartedProgram> OpenDocument(const std::string& file,
                                                        const std::string& folder) = 0;
};

}  // namespace tidewell
