#include "app/uHelp.h"

namespace tidewell {

TfrmHelp::TfrmHelp(HWND owner, TAppServices& services)
    : TTaskForm("TfrmHelp", "Help", owner, services, true) {}

}  // namespace tidewell
