// The checks of a full scan: every category's slot filled, for the cleanup
// window and the console front end alike, so that both scan the same way.
#pragma once

#include "scan/FileReferences.h"
#include "scan/ScanChecks.h"

namespace tidewell {

// `refs` must outlive every scan that runs the checks.
TScanChecks MakeAllChecks(TFileReferences& refs);

}  // namespace tidewell
