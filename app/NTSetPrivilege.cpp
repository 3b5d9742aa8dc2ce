#include "app/NTSetPrivilege.h"

#include <windows.h>

#include "app/SystemError.h"
#include "platform/TextEncoding.h"

namespace tidewell {

bool IsNtFamily() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof(version);
  if (!GetVersionExW(&version)) return true;
  return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

bool NTSetPrivilege(const std::string& name, bool enable) {
  if (!IsNtFamily()) return true;

  HANDLE token = nullptr;
  if (OpenProcessToken(GetCurrentProcess(),
                       TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
    const std::u16string wide = Utf8ToUtf16(name);
    TOKEN_PRIVILEGES privileges{};
    if (LookupPrivilegeValueW(nullptr,
                              reinterpret_cast<const wchar_t*>(wide.c_str()),
                              &privileges.Privileges[0].Luid)) {
      privileges.PrivilegeCount = 1;
      privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
      TOKEN_PRIVILEGES previous{};
      DWORD previousSize = sizeof(previous);
      AdjustTokenPrivileges(token, FALSE, &privileges, sizeof(previous),
                            &previous, &previousSize);
      // AdjustTokenPrivileges "succeeds" when it assigned nothing; only the
      // last error tells.
      const DWORD error = GetLastError();
      CloseHandle(token);
      if (error != ERROR_SUCCESS) throw EOSError(error);
      return true;
    }
    const DWORD error = GetLastError();
    CloseHandle(token);
    throw EOSError(error);
  }
  throw EOSError(GetLastError());
}

}  // namespace tidewell
