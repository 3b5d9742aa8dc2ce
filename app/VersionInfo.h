// VersionInfo: the string fields of a program file's version information,
// each "Value Not Available" when the file has none (or lacks the field).
#pragma once

#include <array>
#include <string>

namespace tidewell {

inline constexpr const char* kValueNotAvailable = "Value Not Available";

struct TVersionInfo {
  std::string CompanyName = kValueNotAvailable;
  std::string FileDescription = kValueNotAvailable;
  std::string FileVersion = kValueNotAvailable;
  std::string InternalName = kValueNotAvailable;
  std::string LegalCopyright = kValueNotAvailable;
  std::string LegalTrademarks = kValueNotAvailable;
  std::string OriginalFilename = kValueNotAvailable;
  std::string ProductName = kValueNotAvailable;
  std::string ProductVersion = kValueNotAvailable;
  std::string Comments = kValueNotAvailable;
};

// The field names in the order they are read.
inline constexpr std::array<const char*, 10> kVersionInfoFields = {
    "CompanyName",     "FileDescription",  "FileVersion", "InternalName",
    "LegalCopyright",  "LegalTrademarks",  "OriginalFilename",
    "ProductName",     "ProductVersion",   "Comments",
};

// The member a field name names; null for any other name.
std::string* VersionInfoField(TVersionInfo& info, const std::string& name);

}  // namespace tidewell
