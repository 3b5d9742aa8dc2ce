#include "platform/win/WinSystemInfo.h"

#include <windows.h>

#include <ctime>

#include "platform/win/WideText.h"

namespace tidewell {

TSystemVersion WinSystemInfo::Version() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  TSystemVersion version;
  if (!::GetVersionExW(&info)) return version;
  version.Platform = static_cast<TPlatformId>(info.dwPlatformId);
  version.Major = info.dwMajorVersion;
  version.Minor = info.dwMinorVersion;
  // On the 9x family the high word of the build number repeats the version.
  version.Build = version.Platform == TPlatformId::Windows9x ? (info.dwBuildNumber & 0xFFFF)
                                                             : info.dwBuildNumber;
  version.ServicePack = NarrowText(info.szCSDVersion, wcsnlen(info.szCSDVersion, 128));
  return version;
}

std::int64_t WinSystemInfo::BootTime() {
  return static_cast<std::int64_t>(std::time(nullptr)) -
         static_cast<std::int64_t>(::GetTickCount64() / 1000);
}

std::string WinSystemInfo::DecimalSeparator() {
  wchar_t separator[8] = {};
  const int length =
      ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
  if (length <= 1) return ".";
  return NarrowText(separator, static_cast<std::size_t>(length - 1));
}

}  // namespace tidewell
