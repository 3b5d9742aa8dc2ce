// The program's run from start to end, as a fixed order of steps over a host
// that does the work. The order matters: the undo writer and the folder set
// must exist before any window can use them, the main window must be created
// first (its creation is where a second instance is turned away), and COM is
// released only after every window is gone.
#pragma once

#include "app/FormKind.h"

namespace tidewell {

class TProgramHost {
 public:
  virtual ~TProgramHost() = default;
  // The scan engine's folder set, built once and read-only afterwards.
  virtual void SetUpFolderSet() = 0;
  virtual void InitializeCom() = 0;
  // The one undo writer of the run.
  virtual void CreateUndoWriter() = 0;
  virtual void SetTitle(const char* title) = 0;
  // False when the program must end at once (another instance runs).
  virtual bool CreateForm(TFormKind form) = 0;
  // Returns when the main window has closed.
  virtual void RunMessageLoop() = 0;
  // Destroys every window created so far, in creation order.
  virtual void DestroyForms() = 0;
  // Closes the run's undo file.
  virtual void DestroyUndoWriter() = 0;
  virtual void ReleaseCom() = 0;
};

// Runs the program; returns its exit code.
int RunProgram(TProgramHost& host);

}  // namespace tidewell
