#include "app/win/WinShutdownSystem.h"

#include <windows.h>

#include "app/win/NTSetPrivilege.h"
#include "platform/win/ScopedHandle.h"

namespace tidewell {

bool WinShutdownSystem::IsNtFamily() { return tidewell::IsNtFamily(); }

bool WinShutdownSystem::EnableShutdownPrivilege() {
  const TScopedHandle process(
      OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, GetCurrentProcessId()));
  if (!process.IsValid()) return false;
  TScopedHandle token;
  if (!OpenProcessToken(process.Get(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY,
                        token.Receive())) {
    return false;
  }

  TOKEN_PRIVILEGES privileges{};
  bool enabled = false;
  if (LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege",
                            &privileges.Privileges[0].Luid)) {
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    enabled = AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr,
                                    nullptr) &&
              GetLastError() == ERROR_SUCCESS;
  }
  return enabled;
}

bool WinShutdownSystem::RequestExitWindows(std::uint32_t flags) {
  return ExitWindowsEx(flags, SHTDN_REASON_MAJOR_OTHER |
                                  SHTDN_REASON_FLAG_PLANNED) != FALSE;
}

}  // namespace tidewell
