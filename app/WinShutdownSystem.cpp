#include "app/WinShutdownSystem.h"

#include <windows.h>

#include "app/NTSetPrivilege.h"

namespace tidewell {

bool WinShutdownSystem::IsNtFamily() { return tidewell::IsNtFamily(); }

bool WinShutdownSystem::EnableShutdownPrivilege() {
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE,
                               GetCurrentProcessId());
  if (process == nullptr) return false;
  HANDLE token = nullptr;
  const bool opened =
      OpenProcessToken(process, TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token);
  CloseHandle(process);
  if (!opened) return false;

  TOKEN_PRIVILEGES privileges{};
  bool enabled = false;
  if (LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege",
                            &privileges.Privileges[0].Luid)) {
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    enabled = AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr,
                                    nullptr) &&
              GetLastError() == ERROR_SUCCESS;
  }
  CloseHandle(token);
  return enabled;
}

bool WinShutdownSystem::RequestExitWindows(std::uint32_t flags) {
  return ExitWindowsEx(flags, SHTDN_REASON_MAJOR_OTHER |
                                  SHTDN_REASON_FLAG_PLANNED) != FALSE;
}

}  // namespace tidewell
