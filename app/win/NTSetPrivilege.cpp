#include "app/win/NTSetPrivilege.h"

#include <windows.h>

#include "app/win/SystemError.h"
#include "platform/win/ScopedHandle.h"
#include "platform/win/WideText.h"

namespace tidewell {

bool IsNtFamily() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof(version);
  if (!GetVersionExW(&version)) return true;
  return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

bool NTSetPrivilege(const std::string& name, bool enable) {
  if (!IsNtFamily()) return true;

  TScopedHandle token;
  if (OpenProcessToken(GetCurrentProcess(),
                       TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.Receive())) {
    TOKEN_PRIVILEGES privileges{};
    if (LookupPrivilegeValueW(nullptr, WideText(name).c_str(),
                              &privileges.Privileges[0].Luid)) {
      privileges.PrivilegeCount = 1;
      privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
      TOKEN_PRIVILEGES previous{};
      DWORD previousSize = sizeof(previous);
      AdjustTokenPrivileges(token.Get(), FALSE, &privileges, sizeof(previous),
                            &previous, &previousSize);
      // AdjustTokenPrivileges "succeeds" when it assigned nothing; only the
      // last error tells.
      const DWORD error = GetLastError();
      if (error != ERROR_SUCCESS) throw EOSError(error);
      return true;
    }
    throw EOSError(GetLastError());
  }
  throw EOSError(GetLastError());
}

}  // namespace tidewell
