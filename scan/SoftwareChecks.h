// The software section of the scan: shared DLLs, start-up commands,
// application paths and uninstall entries, help files, fonts, sounds, and the
// walk over every string value that names a file. The checks only read the
// registry; every problem is reported, and the excluded-keys list decides
// later which of them the user sees.
#pragma once

#include "scan/ApplicationChecks.h"
#include "scan/FileListCheck.h"
#include "scan/FileReferences.h"
#include "scan/ScanChecks.h"
#include "scan/SoundsCheck.h"
#include "scan/ValueWalkChecks.h"

namespace tidewell {

// Fills the eight software slots of `checks`. The checks resolve files through
// `refs`, which must outlive every scan that runs them.
void AddSoftwareChecks(TScanChecks& checks, TFileReferences& refs);

}  // namespace tidewell
