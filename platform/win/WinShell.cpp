#include "platform/win/WinShell.h"

#include <windows.h>
#include <shellapi.h>

#include <utility>

#include "platform/win/ScopedHandle.h"
#include "platform/win/WideText.h"

namespace tidewell {
namespace {

class WinStartedProgram final : public TStartedProgram {
 public:
  explicit WinStartedProgram(TScopedHandle process) : process_(std::move(process)) {}

  bool WaitForEnd(int milliseconds) override {
    if (!process_.IsValid()) return true;
    return WaitForSingleObject(process_.Get(), static_cast<DWORD>(milliseconds)) !=
           WAIT_TIMEOUT;
  }

 private:
  TScopedHandle process_;
};

}  // namespace

std::unique_ptr<TStartedProgram> WinShell::OpenDocument(const std::string& file,
                                                        const std::string& folder) {
  const std::wstring wideFile = WideText(file);
  const std::wstring wideFolder = WideText(folder);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  // Without the process handle there would be nothing to wait for; no error
  // box of the shell's own: a failed start shows nothing.
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  info.lpVerb = L"open";
  info.lpFile = wideFile.c_str();
  info.lpDirectory = wideFolder.empty() ? nullptr : wideFolder.c_str();
  info.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExW(&info)) return nullptr;
  return std::make_unique<WinStartedProgram>(TScopedHandle(info.hProcess));
}

}  // namespace tidewell
