#include "app/win/uHelp.h"

namespace tidewell {

TfrmHelp::TfrmHelp(HWND owner, TAppServices& services,
                   const TWinResources& resources)
    : TTaskForm("TfrmHelp", "Help", owner, resources, true),
      services_(services) {}

}  // namespace tidewell
