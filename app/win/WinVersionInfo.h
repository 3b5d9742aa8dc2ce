// Reads a program file's version information (GetFileVersionInfo), under the
// first language and code page its "\VarFileInfo\Translation" lists.
#pragma once

#include <string>

#include "app/VersionInfo.h"

namespace tidewell {

TVersionInfo ReadVersionInfo(const std::string& fileName);

}  // namespace tidewell
