#include "app/uAutorun.h"

namespace tidewell {

TfrmAutorun::TfrmAutorun(HWND owner, TAppServices& services)
    : TTaskForm("TfrmAutorun", "Auto Run", owner, services, true) {}

}  // namespace tidewell
