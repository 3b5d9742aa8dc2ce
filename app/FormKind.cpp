#include "app/FormKind.h"

namespace tidewell {

const char* FormClassName(TFormKind kind) {
  switch (kind) {
    case TFormKind::Main: return "TfrmMain";
    case TFormKind::Autorun: return "TfrmAutorun";
    case TFormKind::CleanupSettings: return "TfrmCleanupSettings";
    case TFormKind::Help: return "TfrmHelp";
    case TFormKind::RegistryBackup: return "TfrmRegistryBackup";
    case TFormKind::RegistryCleanup: return "TfrmRegistryCleanup";
    case TFormKind::RegistryDefrag: return "TfrmRegistryDefrag";
    case TFormKind::RegistryUndo: return "TfrmRegistryUndo";
  }
  return "";
}

}  // namespace tidewell
