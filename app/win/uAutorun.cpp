#include "app/win/uAutorun.h"

namespace tidewell {

TfrmAutorun::TfrmAutorun(HWND owner, TAppServices& services,
                         const TWinResources& resources)
    : TTaskForm("TfrmAutorun", "Auto Run", owner, resources, true),
      services_(services) {}

}  // namespace tidewell
