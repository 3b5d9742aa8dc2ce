#include "app/WinProgram.h"

#include <objbase.h>

#include "app/ApplicationFolder.h"
#include "app/WinVersionInfo.h"
#include "app/uAutorun.h"
#include "app/uCleanupSettings.h"
#include "app/uHelp.h"
#include "app/uRegistryBackup.h"
#include "app/uRegistryCleanup.h"
#include "app/uRegistryDefrag.h"
#include "app/uRegistryUndo.h"

namespace tidewell {

TWinProgram::TWinProgram()
    : programFile_(environment_.ProgramFileName()),
      version_(ReadVersionInfo(programFile_)) {}

TWinProgram::~TWinProgram() {
  DestroyForms();
  DestroyUndoWriter();
  ReleaseCom();
}

void TWinProgram::SetUpFolderSet() {
  folders_ = BuildFolderSet(environment_, registry_);
}

void TWinProgram::InitializeCom() {
  comInitialized_ = SUCCEEDED(CoInitialize(nullptr));
}

void TWinProgram::CreateUndoWriter() {
  // ApplicationFolder itself is set later, by the main window; the writer
  // needs the same folder now.
  undoFile_ = std::make_unique<TRegUndoFile>(
      registry_, fileSystem_, clock_, codePage_,
      ApplicationFolderOf(programFile_), version_.ProductName);
  services_.emplace(TAppServices{registry_, fileSystem_, environment_,
                                 folders_, *undoFile_, exitWin_, "", nullptr});
}

void TWinProgram::SetTitle(const char* title) {
  services_->ApplicationTitle = title;
}

bool TWinProgram::CreateForm(TFormKind form) {
  if (form == TFormKind::Main) {
    frmMain_ = std::make_unique<TfrmMain>(
        *services_, version_, programFile_,
        [this](TFormKind kind) { return FindForm(kind); });
    return frmMain_->Create();
  }
  taskForms_.emplace_back(form, MakeTaskForm(form));
  return true;
}

std::unique_ptr<TTaskForm> TWinProgram::MakeTaskForm(TFormKind form) {
  HWND owner = frmMain_->Handle();
  TAppServices& services = *services_;
  switch (form) {
    case TFormKind::Autorun:
      return std::make_unique<TfrmAutorun>(owner, services);
    case TFormKind::CleanupSettings:
      return std::make_unique<TfrmCleanupSettings>(owner, services);
    case TFormKind::Help:
      return std::make_unique<TfrmHelp>(owner, services);
    case TFormKind::RegistryBackup:
      return std::make_unique<TfrmRegistryBackup>(owner, services);
    case TFormKind::RegistryCleanup:
      return std::make_unique<TfrmRegistryCleanup>(owner, services);
    case TFormKind::RegistryDefrag:
      return std::make_unique<TfrmRegistryDefrag>(owner, services);
    case TFormKind::RegistryUndo:
      return std::make_unique<TfrmRegistryUndo>(owner, services);
    case TFormKind::Main:
      break;
  }
  return nullptr;
}

TForm* TWinProgram::FindForm(TFormKind form) {
  if (form == TFormKind::Main) return frmMain_.get();
  for (auto& [kind, window] : taskForms_) {
    if (kind == form) return window.get();
  }
  return nullptr;
}

void TWinProgram::RunMessageLoop() {
  frmMain_->Show();
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(frmMain_->Handle(), &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

void TWinProgram::DestroyForms() {
  // The task windows first: destroying their owner would take them along.
  while (!taskForms_.empty()) taskForms_.pop_back();
  frmMain_.reset();
}

void TWinProgram::DestroyUndoWriter() { undoFile_.reset(); }

void TWinProgram::ReleaseCom() {
  if (comInitialized_) CoUninitialize();
  comInitialized_ = false;
}

}  // namespace tidewell
