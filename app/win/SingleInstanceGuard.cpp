#include "app/win/SingleInstanceGuard.h"

#include "app/SingleInstanceNames.h"
#include "ui/win/WindowText.h"

namespace tidewell {

TSingleInstanceGuard::~TSingleInstanceGuard() {
  if (held_) ReleaseMutex(running_.Get());
}

bool TSingleInstanceGuard::Acquire(const std::string& applicationTitle) {
  const std::string base =
      OneInstanceBaseName(applicationTitle, kSingleInstanceIdentifier);
  const TScopedHandle critical(
      CreateMutexW(nullptr, TRUE, WideText(CriticalSectionMutexName(base)).c_str()));
  bool another = !critical.IsValid() || GetLastError() == ERROR_ALREADY_EXISTS;
  if (!another) {
    running_ = TScopedHandle(
        CreateMutexW(nullptr, FALSE, WideText(DefaultMutexName(base)).c_str()));
    switch (WaitForSingleObject(running_.Get(), 0)) {
      case WAIT_TIMEOUT:
        another = true;
        break;
      case WAIT_OBJECT_0:
      case WAIT_ABANDONED:
        held_ = true;
        break;
      default:
        break;
    }
  }
  if (critical.IsValid()) ReleaseMutex(critical.Get());
  return !another;
}

namespace {

struct TSearch {
  std::wstring ClassName;
  std::wstring Caption;
  HWND Found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<TSearch*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId()) return TRUE;
  wchar_t className[256];
  if (GetClassNameW(window, className, 256) == 0 ||
      search->ClassName != className) {
    return TRUE;
  }
  if (WideText(WindowText(window)) != search->Caption) return TRUE;
  search->Found = window;
  return FALSE;
}

}  // namespace

void BringOtherInstanceForward(const std::string& className,
                               const std::string& caption) {
  TSearch search{WideText(className), WideText(caption)};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  if (search.Found == nullptr) return;
  if (IsIconic(search.Found)) {
    ShowWindow(search.Found, SW_RESTORE);
  } else {
    SetForegroundWindow(search.Found);
  }
}

}  // namespace tidewell
