// The logic of the cleanup settings window, the first step of a manual
// cleanup: the nine category boxes and the caption box of "Clear Software
// Section" that gates seven of them, "Back" and "Next" through RunMode, the
// "..." button for ExcludedKeys.txt, and the window's settings file. The Win32
// window (TfrmCleanupSettings) is a view of it.
#pragma once

#include <cstdint>
#include <string>

#include "app/ExcludedKeysEditor.h"
#include "settings/CleanupSettingsStore.h"
#include "settings/SettingsFile.h"

namespace tidewell {

// The nine boxes, in the order the window lays them out.
enum class TCleanupBox {
  ClassesSection,
  ClearFileList,
  SharedDLL,
  InvalidFileAssociations,
  WinStartup,
  APPPath,
  Help,
  Fonts,
  Sounds,
};
inline constexpr int kCleanupBoxCount = 9;

// The seven boxes inside "Clear Software Section".
bool IsSoftwareBox(TCleanupBox box);

class TCleanupSettingsView {
 public:
  virtual ~TCleanupSettingsView() = default;
  virtual void ShowTick(TCleanupBox box, bool ticked) = 0;
  virtual void ShowGroupTick(bool ticked) = 0;
  // The seven boxes inside the group, enabled or disabled (their ticks stay).
  virtual void EnableSoftwareBoxes(bool enabled) = 0;
  virtual void CloseWindow() = 0;
};

class TCleanupSettingsPresenter {
 public:
  // Everything must outlive the presenter. `runMode` is the process-wide
  // RunMode; `settings` is the window's file in the run's settings store.
  TCleanupSettingsPresenter(TCleanupSettingsView& view, std::string& runMode,
                            TSettingsFile& settings, TExcludedKeysEditor& editor,
                            const std::string& applicationFolder);

  // At creation: the file's values over the defaults (all ticked), shown.
  void Created();
  void BoxClicked(TCleanupBox box, bool ticked);
  void GroupBoxClicked(bool ticked);
  void BackClicked();
  void NextClicked();
  // Closed by the title bar: RunMode stays as it was.
  void CloseRequested();
  // "...": true when an editor was started.
  bool ExcludedKeysClicked();

  const TCleanupChecks& Checks() const { return checks_; }
  // The engine's Categories, read by the cleanup window when a scan starts.
  std::uint16_t Categories() const { return CategoriesOf(checks_); }
  // Copies the ten check states into the settings file, in the file's order
  // and nothing else; done at each closing and at program end.
  void StoreSettings();

 private:
  void Close();
  bool& Tick(TCleanupBox box);

  TCleanupSettingsView& view_;
  std::string& runMode_;
  TSettingsFile& settings_;
  TExcludedKeysEditor& editor_;
  const std::string& applicationFolder_;
  TCleanupChecks checks_;
};

}  // namespace tidewell
