// The program's run on Windows: owns the shared state (registry, file system,
// folder set, undo writer, restart service) and the eight windows, and does
// the steps that RunProgram orders.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "app/AppServices.h"
#include "app/ExitWin.h"
#include "app/ProgramRun.h"
#include "ui/win/TaskForm.h"
#include "app/VersionInfo.h"
#include "app/win/WinShutdownSystem.h"
#include "app/win/uMain.h"
#include "platform/win/WinAnsiCodePage.h"
#include "platform/win/WinClock.h"
#include "platform/win/WinFileSystem.h"
#include "platform/win/WinShell.h"
#include "platform/win/WinSystemEnvironment.h"
#include "registry/win/WinRegistryStore.h"
#include "scan/FolderSet.h"

namespace tidewell {

class TWinProgram final : public TProgramHost, private TTaskWindowReports {
 public:
  TWinProgram();
  ~TWinProgram() override;

  void SetUpFolderSet() override;
  void InitializeCom() override;
  void CreateUndoWriter() override;
  void SetTitle(const char* title) override;
  bool CreateForm(TFormKind form) override;
  void RunMessageLoop() override;
  void DestroyForms() override;
  void DestroyUndoWriter() override;
  void ReleaseCom() override;

 private:
  TForm* FindForm(TFormKind form);
  template <typename Window>
  Window* Find(TFormKind form) {
    return dynamic_cast<Window*>(FindForm(form));
  }
  // TTaskWindowReports: one small question per window of the chain.
  TAutorunChoice AutorunChoice() override;
  bool AutoRunFailed(TFormKind form) override;
  bool BackupAutoRunFailed();
  bool CleanupAutoRunFailed();
  bool DefragAutoRunFailed();
  // The windows' values into their files, once, at the program's end.
  void SaveSettings();
  std::unique_ptr<TTaskForm> MakeTaskForm(TFormKind form);

  WinRegistryStore registry_;
  WinFileSystem fileSystem_;
  WinSystemEnvironment environment_;
  WinClock clock_;
  WinAnsiCodePage codePage_;
  WinShell shell_;
  WinShutdownSystem shutdownSystem_;
  TExitWin exitWin_{shutdownSystem_};
  std::string programFile_;
  TVersionInfo version_;
  TFolderSet folders_;
  std::unique_ptr<TRegUndoFile> undoFile_;
  std::unique_ptr<TSettingsStore> settings_;
  bool settingsSaved_ = false;
  std::optional<TAppServices> services_;
  bool comInitialized_ = false;

  std::unique_ptr<TfrmMain> frmMain_;
  // In creation order, with their kinds.
  std::vector<std::pair<TFormKind, std::unique_ptr<TTaskForm>>> taskForms_;
};

}  // namespace tidewell
