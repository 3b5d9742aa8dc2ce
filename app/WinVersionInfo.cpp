#include "app/WinVersionInfo.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "platform/TextEncoding.h"

namespace tidewell {

namespace {

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

}  // namespace

TVersionInfo ReadVersionInfo(const std::string& fileName) {
  TVersionInfo info;
  const std::u16string file = Utf8ToUtf16(fileName);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(Wide(file), &ignored);
  if (size == 0) return info;
  std::vector<unsigned char> block(size);
  if (!GetFileVersionInfoW(Wide(file), 0, size, block.data())) return info;

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
    const std::u16string query = Utf8ToUtf16(std::string(prefix) + field);
    wchar_t* value = nullptr;
    UINT chars = 0;
    if (VerQueryValueW(block.data(), Wide(query),
                       reinterpret_cast<void**>(&value), &chars) &&
        value != nullptr) {
      *VersionInfoField(info, field) =
          Utf16ToUtf8(std::u16string(reinterpret_cast<const char16_t*>(value)));
    }
  }
  return info;
}

}  // namespace tidewell
