#include "app/uRegistryDefrag.h"

namespace tidewell {

TfrmRegistryDefrag::TfrmRegistryDefrag(HWND owner, TAppServices& services)
    : TTaskForm("TfrmRegistryDefrag", "Registry Defrag", owner, services, false) {}

}  // namespace tidewell
