#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "registry/win/WinRegistryStore.h"
#include "tests/support/TestRegistry.h"

namespace tidewell::testing {

namespace {

// The program enables these at start; tests of hive operations need them too.
void EnablePrivilege(const wchar_t* name) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(),
                        TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
    return;
  }
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (LookupPrivilegeValueW(nullptr, name, &privileges.Privileges[0].Luid)) {
    AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
  }
  CloseHandle(token);
}

}  // namespace

const char* RegistryBackendName() { return "windows"; }

std::unique_ptr<RegistryStore> MakeTestRegistryStore() {
  // The tests write to the registry: only ever inside a throwaway prefix.
  if (std::getenv("TIDEWELL_TEST_PREFIX") == nullptr) {
    std::fprintf(stderr,
                 "These tests write to the registry; run them through "
                 "scripts/wine-run.sh, which gives them a throwaway prefix.\n");
    std::abort();
  }
  EnablePrivilege(L"SeBackupPrivilege");
  EnablePrivilege(L"SeRestorePrivilege");
  return std::make_unique<WinRegistryStore>();
}

}  // namespace tidewell::testing
