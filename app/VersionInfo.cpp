#include "app/VersionInfo.h"

namespace tidewell {

std::string* VersionInfoField(TVersionInfo& info, const std::string& name) {
  if (name == "CompanyName") return &info.CompanyName;
  if (name == "FileDescription") return &info.FileDescription;
  if (name == "FileVersion") return &info.FileVersion;
  if (name == "InternalName") return &info.InternalName;
  if (name == "LegalCopyright") return &info.LegalCopyright;
  if (name == "LegalTrademarks") return &info.LegalTrademarks;
  if (name == "OriginalFilename") return &info.OriginalFilename;
  if (name == "ProductName") return &info.ProductName;
  if (name == "ProductVersion") return &info.ProductVersion;
  if (name == "Comments") return &info.Comments;
  return nullptr;
}

}  // namespace tidewell
