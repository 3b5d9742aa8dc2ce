// Drives a program's windows from another process, the way a person would:
// start it, wait for a window by class and caption, read and click controls,
// read list-view rows and their ticks, answer message boxes. Every wait polls
// with a time-out; nothing sleeps for a fixed time.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

namespace tidewell::testing {

using namespace std::chrono_literals;
inline constexpr std::chrono::milliseconds kWindowTimeout = 15s;

// A started program; ends it (if still running) when the object goes away.
class TDrivenProcess {
 public:
  // Starts `exe` (a full Windows path); throws when it cannot be started.
  explicit TDrivenProcess(const std::string& exe);
  ~TDrivenProcess();
  TDrivenProcess(const TDrivenProcess&) = delete;
  TDrivenProcess& operator=(const TDrivenProcess&) = delete;

  DWORD Id() const { return info_.dwProcessId; }
  bool IsRunning() const;
  // True when the process ended within the time-out.
  bool WaitForExit(std::chrono::milliseconds timeout = kWindowTimeout);
  DWORD ExitCode() const;

 private:
  PROCESS_INFORMATION info_{};
};

// The full path of a file next to the running test executable.
std::string FileNextToTest(const std::string& name);

// Window tests write the registry and the program's folder: they stop at
// once unless a throwaway prefix's runner (`runner`) started them.
void RequireTestPrefix(const char* runner = "scripts/wine-run.sh --gui");

// A copy of tidewell.exe in `folder` (ending in a backslash; made when
// missing), where it keeps its settings files; its full path. Throws when
// the copy fails.
std::string CopyProgramInto(const std::string& folder);

// Polls until `ready` is true; false when the time-out passed first.
template <typename Ready>
bool WaitUntil(Ready ready, std::chrono::milliseconds timeout = kWindowTimeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!ready()) {
    if (std::chrono::steady_clock::now() > end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      DispatchMessageW(&message);
    }
  }
  return true;
}

// A visible top-level window of the process (0: any process) with the class
// and, when not empty, the caption; null when there is none now.
HWND FindTopWindow(DWORD processId, const std::string& className,
                   const std::string& caption = "");
// The same, waiting for it to appear.
HWND WaitForTopWindow(DWORD processId, const std::string& className,
                      const std::string& caption = "");
// Waits until no visible window of that class and process is left.
bool WaitForWindowGone(DWORD processId, const std::string& className);

std::string ClassNameOf(HWND window);
std::string TextOf(HWND window);
// Direct children of `parent` of the class, in Z order.
std::vector<HWND> ChildrenOfClass(HWND parent, const std::string& className);
// A child with that class and exact text; null when there is none.
HWND FindChild(HWND parent, const std::string& className,
               const std::string& text);
// Clicks a button without waiting for what the click starts (a modal window
// opened by it would otherwise block the driver).
void Click(HWND button);

// List views of another process: rows' text by column, and tick states.
int ListViewRowCount(HWND listView);
std::string ListViewCell(HWND listView, int row, int column);
// Highlights the row as a click would.
void ListViewSelect(HWND listView, int row);
// True when the row's check box is ticked.
bool ListViewTicked(HWND listView, int row);

// The text of a pane of another process's status bar.
std::string StatusBarText(HWND statusBar, int part);

// The tooltip text of a control of another process, as its window's
// tooltips hold it for the control; empty when it has none.
std::string ToolTipOf(HWND control);

// A message box (class "#32770") of the process, its text, and a click on
// one of its buttons (IDOK, IDYES, ...).
HWND WaitForMessageBox(DWORD processId, const std::string& title);
std::string MessageBoxText(HWND box);
void AnswerMessageBox(HWND box, int buttonId);

// Lets the window's thread finish what it was doing (a no-op message that
// waits its turn).
void Settle(HWND window, std::chrono::milliseconds timeout = 20s);

// The files a program leaves: their bytes ("<missing>" when there is none),
// and files written for it to find. Reading shares the file with a writer
// that still holds it.
std::string FileText(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text, bool append = false);

}  // namespace tidewell::testing
