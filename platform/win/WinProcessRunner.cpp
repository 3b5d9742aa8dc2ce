#include "platform/win/WinProcessRunner.h"

#include <windows.h>

#include "platform/win/ScopedHandle.h"
#include "platform/win/WideText.h"

namespace tidewell {

std::optional<unsigned long> WinProcessRunner::RunAndWait(
    const std::string& commandLine, const std::string& workingFolder) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION info{};
  // CreateProcessW may write into the command line.
  std::wstring line = WideText(commandLine);
  const std::wstring folder = WideText(workingFolder);
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE,
                      CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
    return std::nullopt;
  }
  TScopedHandle process(info.hProcess);
  TScopedHandle thread(info.hThread);
  // A windowed program is idle for input once it has set itself up; a console
  // one makes this fail at once. Either way only its end says that its work
  // is done.
  WaitForInputIdle(process.Get(), INFINITE);
  if (WaitForSingleObject(process.Get(), INFINITE) != WAIT_OBJECT_0) return std::nullopt;
  DWORD exitCode = 0;
  if (!GetExitCodeProcess(process.Get(), &exitCode)) return std::nullopt;
  return exitCode;
}

}  // namespace tidewell
