// TfrmRegistryCleanup: the scan, the list of problems found and their deletion.
// Its controls and work come with the task itself; for now it is the real,
// empty window the launcher opens, with its "Back" button.
#pragma once

#include "app/AppServices.h"
#include "ui/win/TaskForm.h"

namespace tidewell {

class TfrmRegistryCleanup final : public TTaskForm {
 public:
  TfrmRegistryCleanup(HWND owner, TAppServices& services, const TWinResources& resources);

  // "FormPlacement" in its settings file; the list's column widths join it
  // with the list.
  void StoreSettings() override;

 private:
  TAppServices& services_;
  TSettingsFile& settings_;
};

}  // namespace tidewell
