// The seven task windows the launcher opens, and the order in which the
// program creates its eight windows (the main window first).
#pragma once

#include <array>

namespace tidewell {

enum class TFormKind {
  Main,               // TfrmMain
  Autorun,            // TfrmAutorun
  CleanupSettings,    // TfrmCleanupSettings
  Help,               // TfrmHelp
  RegistryBackup,     // TfrmRegistryBackup
  RegistryCleanup,    // TfrmRegistryCleanup
  RegistryDefrag,     // TfrmRegistryDefrag
  RegistryUndo,       // TfrmRegistryUndo
};

inline constexpr std::array<TFormKind, 8> kFormCreationOrder = {
    TFormKind::Main,           TFormKind::Autorun,
    TFormKind::CleanupSettings, TFormKind::Help,
    TFormKind::RegistryBackup, TFormKind::RegistryCleanup,
    TFormKind::RegistryDefrag, TFormKind::RegistryUndo,
};

// The class name of the window ("TfrmMain", ...); windows are found by it.
const char* FormClassName(TFormKind kind);

}  // namespace tidewell
