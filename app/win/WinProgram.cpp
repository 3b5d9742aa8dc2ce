#include "app/win/WinProgram.h"

#include <objbase.h>

#include "app/ApplicationFolder.h"
#include "app/win/WinVersionInfo.h"
#include "platform/win/WideText.h"
#include "app/win/uAutorun.h"
#include "app/win/uCleanupSettings.h"
#include "app/win/uHelp.h"
#include "tools/win/uRegistryBackup.h"
#include "app/win/uRegistryCleanup.h"
#include "tools/win/uRegistryDefrag.h"
#include "undo/win/uRegistryUndo.h"

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
  const std::string folder = ApplicationFolderOf(programFile_);
  undoFile_ = std::make_unique<TRegUndoFile>(registry_, fileSystem_, clock_, codePage_,
                                             folder, version_.ProductName);
  settings_ = std::make_unique<TSettingsStore>(fileSystem_, codePage_, folder);
  services_.emplace(TAppServices{registry_, fileSystem_, environment_, codePage_, clock_,
                                 shell_, *settings_, folders_, *undoFile_, exitWin_, ""});
}

void TWinProgram::SetTitle(const char* title) {
  services_->ApplicationTitle = title;
}

bool TWinProgram::CreateForm(TFormKind form) {
  if (form == TFormKind::Main) {
    frmMain_ = std::make_unique<TfrmMain>(
        *services_, version_, programFile_,
        [this](TFormKind kind) { return FindForm(kind); },
        static_cast<TTaskWindowReports&>(*this));
    return frmMain_->Create();
  }
  taskForms_.emplace_back(form, MakeTaskForm(form));
  return true;
}

std::unique_ptr<TTaskForm> TWinProgram::MakeTaskForm(TFormKind form) {
  HWND owner = frmMain_->Handle();
  TAppServices& services = *services_;
  const TWinResources& resources = frmMain_->Resources();
  switch (form) {
    case TFormKind::Autorun:
      return std::make_unique<TfrmAutorun>(owner, services, resources);
    case TFormKind::CleanupSettings:
      return std::make_unique<TfrmCleanupSettings>(owner, services, resources);
    case TFormKind::Help:
      return std::make_unique<TfrmHelp>(owner, services, resources);
    case TFormKind::RegistryBackup:
      return std::make_unique<TfrmRegistryBackup>(owner, services, resources);
    case TFormKind::RegistryCleanup: {
      // The settings window is made first and destroyed last of the two.
      auto* settings = static_cast<TfrmCleanupSettings*>(FindForm(TFormKind::CleanupSettings));
      return std::make_unique<TfrmRegistryCleanup>(
          owner, services, resources,
          [settings] { return settings->Presenter().Categories(); });
    }
    case TFormKind::RegistryDefrag:
      return std::make_unique<TfrmRegistryDefrag>(owner, services, resources);
    case TFormKind::RegistryUndo:
      return std::make_unique<TfrmRegistryUndo>(owner, services, resources);
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

TAutorunChoice TWinProgram::AutorunChoice() {
  const auto* window = Find<TfrmAutorun>(TFormKind::Autorun);
  return window != nullptr ? window->Choice() : TAutorunChoice{};
}

bool TWinProgram::AutoRunFailed(TFormKind form) {
  switch (form) {
    case TFormKind::RegistryBackup: return BackupAutoRunFailed();
    case TFormKind::RegistryCleanup: return CleanupAutoRunFailed();
    case TFormKind::RegistryDefrag: return DefragAutoRunFailed();
    default: return false;
  }
}

bool TWinProgram::BackupAutoRunFailed() {
  const auto* window = Find<TfrmRegistryBackup>(TFormKind::RegistryBackup);
  return window != nullptr && window->AutoRunFailed();
}

bool TWinProgram::CleanupAutoRunFailed() {
  const auto* window = Find<TfrmRegistryCleanup>(TFormKind::RegistryCleanup);
  return window != nullptr && window->AutoRunFailed();
}

bool TWinProgram::DefragAutoRunFailed() {
  const auto* window = Find<TfrmRegistryDefrag>(TFormKind::RegistryDefrag);
  return window != nullptr && window->RunFailed();
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
  SaveSettings();
  // The task windows first: destroying their owner would take them along.
  while (!taskForms_.empty()) taskForms_.pop_back();
  frmMain_.reset();
}

void TWinProgram::SaveSettings() {
  if (!settings_ || settingsSaved_) return;
  settingsSaved_ = true;
  for (auto& [kind, window] : taskForms_) window->StoreSettings();
  // The program is ending: a file that cannot be written keeps its old
  // content (it is replaced only once the new one is on disk), and there is
  // no window left to say so in.
  std::vector<std::string> errors;
  if (!settings_->SaveAll(errors)) {
    for (const std::string& error : errors) {
      OutputDebugStringW(WideText("Tidewell: settings not saved: " + error + "\n").c_str());
    }
  }
}

void TWinProgram::DestroyUndoWriter() { undoFile_.reset(); }

void TWinProgram::ReleaseCom() {
  if (comInitialized_) CoUninitialize();
  comInitialized_ = false;
}

}  // namespace tidewell
