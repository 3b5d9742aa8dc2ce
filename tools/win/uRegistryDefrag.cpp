#include "tools/win/uRegistryDefrag.h"

namespace tidewell {

TfrmRegistryDefrag::TfrmRegistryDefrag(HWND owner, TAppServices& services,
                                       const TWinResources& resources)
    : TTaskForm("TfrmRegistryDefrag", "Registry Defrag", owner, resources, false),
      services_(services) {}

}  // namespace tidewell
