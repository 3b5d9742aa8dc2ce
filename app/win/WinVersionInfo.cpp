#include "app/win/WinVersionInfo.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "platform/win/WideText.h"

namespace tidewell {

TVersionInfo ReadVersionInfo(const std::string& fileName) {
  TVersionInfo info;
  const std::wstring file = WideText(fileName);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
  if (size == 0) return info;
  std::vector<unsigned char> block(size);
  if (!GetFileVersionInfoW(file.c_str(), 0, size, block.data())) return info;

  struct Translation {
    WORD Language;
    WORD CodePage;
  };
  Translation* translations = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translations), &length) ||
      length < sizeof(Translation)) {
    return info;
  }
  char prefix[40];
  std::snprintf(prefix, sizeof(prefix), "\\StringFileInfo\\%04x%04x\\",
                translations[0].Language, translations[0].CodePage);

  for (const char* field : kVersionInfoFields) {
    const std::wstring query = WideText(std::string(prefix) + field);
    wchar_t* value = nullptr;
    UINT chars = 0;
    if (VerQueryValueW(block.data(), query.c_str(),
                       reinterpret_cast<void**>(&value), &chars) &&
        value != nullptr) {
      *VersionInfoField(info, field) = NarrowText(std::wstring(value));
    }
  }
  return info;
}

}  // namespace tidewell
