#include "app/ProgramRun.h"

#include "app/MainWindowTexts.h"

namespace tidewell {

int RunProgram(TProgramHost& host) {
  host.SetUpFolderSet();
  host.InitializeCom();
  host.CreateUndoWriter();
  host.SetTitle(kApplicationTitle);

  bool running = true;
  for (TFormKind form : kFormCreationOrder) {
    if (!host.CreateForm(form)) {
      running = false;
      break;
    }
  }
  if (running) host.RunMessageLoop();

  host.DestroyForms();
  host.DestroyUndoWriter();
  host.ReleaseCom();
  return 0;
}

}  // namespace tidewell
