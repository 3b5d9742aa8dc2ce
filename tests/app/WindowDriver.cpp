#include "tests/app/WindowDriver.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "platform/win/WideText.h"

namespace tidewell::testing {

namespace {

struct TTopSearch {
  DWORD ProcessId;
  std::string ClassName;
  std::string Caption;
  HWND Found = nullptr;
};

BOOL CALLBACK MatchTop(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<TTopSearch*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (search->ProcessId != 0 && process != search->ProcessId) return TRUE;
  if (!IsWindowVisible(window)) return TRUE;
  if (ClassNameOf(window) != search->ClassName) return TRUE;
  if (!search->Caption.empty() && TextOf(window) != search->Caption) return TRUE;
  search->Found = window;
  return FALSE;
}

}  // namespace

TDrivenProcess::TDrivenProcess(const std::string& exe) {
  std::wstring commandLine = L"\"" + WideText(exe) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  // Under load Wine has been seen to refuse a start now and then (while
  // other test runs copy the same program file); a few tries tell that from
  // a program that really cannot start.
  DWORD error = ERROR_SUCCESS;
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0,
                       nullptr, nullptr, &startup, &info_)) {
      error = ERROR_SUCCESS;
      break;
    }
    error = GetLastError();
    Sleep(300);
  }
  if (error != ERROR_SUCCESS) {
    throw std::runtime_error("cannot start " + exe + " (error " + std::to_string(error) + ")");
  }
  WaitForInputIdle(info_.hProcess, 10000);
}

TDrivenProcess::~TDrivenProcess() {
  if (IsRunning()) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool TDrivenProcess::IsRunning() const {
  return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool TDrivenProcess::WaitForExit(std::chrono::milliseconds timeout) {
  return WaitForSingleObject(info_.hProcess,
                             static_cast<DWORD>(timeout.count())) ==
         WAIT_OBJECT_0;
}

DWORD TDrivenProcess::ExitCode() const {
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

std::string FileNextToTest(const std::string& name) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  folder.resize(folder.find_last_of(L'\\') + 1);
  return NarrowText(folder) + name;
}

HWND FindTopWindow(DWORD processId, const std::string& className,
                   const std::string& caption) {
  TTopSearch search{processId, className, caption};
  EnumWindows(MatchTop, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

HWND WaitForTopWindow(DWORD processId, const std::string& className,
                      const std::string& caption) {
  HWND found = nullptr;
  WaitUntil([&] {
    found = FindTopWindow(processId, className, caption);
    return found != nullptr;
  });
  return found;
}

bool WaitForWindowGone(DWORD processId, const std::string& className) {
  return WaitUntil(
      [&] { return FindTopWindow(processId, className) == nullptr; });
}

std::string ClassNameOf(HWND window) {
  wchar_t name[256];
  const int length = GetClassNameW(window, name, 256);
  return NarrowText(std::wstring(name, static_cast<std::size_t>(length)));
}

std::string TextOf(HWND window) {
  // WM_GETTEXT reads other processes' controls too, not only captions.
  const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT got = SendMessageW(window, WM_GETTEXT, text.size(),
                                   reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(got));
  return NarrowText(text);
}

std::vector<HWND> ChildrenOfClass(HWND parent, const std::string& className) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassNameOf(child) == className) children.push_back(child);
  }
  return children;
}

HWND FindChild(HWND parent, const std::string& className,
               const std::string& text) {
  for (HWND child : ChildrenOfClass(parent, className)) {
    if (TextOf(child) == text) return child;
  }
  return nullptr;
}

void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

int ListViewRowCount(HWND listView) {
  return static_cast<int>(SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0));
}

std::string ListViewCell(HWND listView, int row, int column) {
  // The control writes into the owner's memory: hand it a buffer there.
  DWORD processId = 0;
  GetWindowThreadProcessId(listView, &processId);
  HANDLE process = OpenProcess(
      PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
      processId);
  if (process == nullptr) throw std::runtime_error("cannot open list owner");
  constexpr std::size_t kChars = 1024;
  const std::size_t size = sizeof(LVITEMW) + kChars * sizeof(wchar_t);
  auto* remote = static_cast<unsigned char*>(VirtualAllocEx(
      process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.iSubItem = column;
  item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
  item.cchTextMax = kChars;
  WriteProcessMemory(process, remote, &item, sizeof(item), nullptr);
  const LRESULT length = SendMessageW(listView, LVM_GETITEMTEXTW, row,
                                      reinterpret_cast<LPARAM>(remote));
  std::wstring text(static_cast<std::size_t>(length), L'\0');
  ReadProcessMemory(process, remote + sizeof(LVITEMW), text.data(),
                    text.size() * sizeof(wchar_t), nullptr);
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return NarrowText(text);
}

void ListViewSelect(HWND listView, int row) {
  DWORD processId = 0;
  GetWindowThreadProcessId(listView, &processId);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE,
                               FALSE, processId);
  if (process == nullptr) throw std::runtime_error("cannot open list owner");
  void* remote = VirtualAllocEx(process, nullptr, sizeof(LVITEMW), MEM_COMMIT | MEM_RESERVE,
                                PAGE_READWRITE);
  LVITEMW item{};
  item.mask = LVIF_STATE;
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  WriteProcessMemory(process, remote, &item, sizeof(item), nullptr);
  SendMessageW(listView, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
               reinterpret_cast<LPARAM>(remote));
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
}

std::string StatusBarText(HWND statusBar, int part) {
  DWORD processId = 0;
  GetWindowThreadProcessId(statusBar, &processId);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE,
                               FALSE, processId);
  if (process == nullptr) throw std::runtime_error("cannot open status bar owner");
  constexpr std::size_t kChars = 512;
  void* remote = VirtualAllocEx(process, nullptr, kChars * sizeof(wchar_t),
                                MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  const LRESULT answer =
      SendMessageW(statusBar, SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(remote));
  std::wstring text(std::min<std::size_t>(LOWORD(answer), kChars - 1), L'\0');
  ReadProcessMemory(process, remote, text.data(), text.size() * sizeof(wchar_t), nullptr);
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return NarrowText(text);
}

bool ListViewTicked(HWND listView, int row) {
  const LRESULT state =
      SendMessageW(listView, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK);
  return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

std::string ToolTipOf(HWND control) {
  HWND owner = GetAncestor(control, GA_ROOT);
  DWORD processId = 0;
  GetWindowThreadProcessId(control, &processId);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE,
                               FALSE, processId);
  if (process == nullptr) throw std::runtime_error("cannot open tooltip owner");
  constexpr std::size_t kChars = 1024;
  const std::size_t size = sizeof(TTTOOLINFOW) + kChars * sizeof(wchar_t);
  auto* remote = static_cast<unsigned char*>(
      VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  std::wstring found;
  // Tooltip windows are hidden top-level windows owned by the form.
  for (HWND tips = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr);
       tips != nullptr && found.empty();
       tips = FindWindowExW(nullptr, tips, TOOLTIPS_CLASSW, nullptr)) {
    if (GetWindow(tips, GW_OWNER) != owner) continue;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = reinterpret_cast<wchar_t*>(remote + sizeof(TTTOOLINFOW));
    const wchar_t none = L'\0';
    WriteProcessMemory(process, remote, &tool, sizeof(tool), nullptr);
    WriteProcessMemory(process, remote + sizeof(TTTOOLINFOW), &none, sizeof(none), nullptr);
    SendMessageW(tips, TTM_GETTEXTW, kChars, reinterpret_cast<LPARAM>(remote));
    std::wstring text(kChars, L'\0');
    ReadProcessMemory(process, remote + sizeof(TTTOOLINFOW), text.data(),
                      text.size() * sizeof(wchar_t), nullptr);
    found = text.c_str();
  }
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return NarrowText(found);
}

HWND WaitForMessageBox(DWORD processId, const std::string& title) {
  return WaitForTopWindow(processId, "#32770", title);
}

std::string MessageBoxText(HWND box) {
  std::string text;
  for (HWND label : ChildrenOfClass(box, "Static")) {
    const std::string part = TextOf(label);
    if (!part.empty()) text = part;  // the icon's label has no text
  }
  return text;
}

void AnswerMessageBox(HWND box, int buttonId) {
  HWND button = GetDlgItem(box, buttonId);
  if (button != nullptr) {
    Click(button);
  } else {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), 0);
  }
}

void Settle(HWND window, std::chrono::milliseconds timeout) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(timeout.count()),
                      &ignored);
}

std::string FileText(const std::string& path) {
  std::string bytes;
  HANDLE file = CreateFileW(WideText(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<missing>";
  char buffer[4096];
  DWORD read = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    bytes.append(buffer, read);
  }
  CloseHandle(file);
  return bytes;
}

void WriteFileText(const std::string& path, const std::string& text, bool append) {
  HANDLE file = CreateFileW(WideText(path).c_str(), append ? FILE_APPEND_DATA : GENERIC_WRITE,
                            FILE_SHARE_READ, nullptr, append ? OPEN_ALWAYS : CREATE_ALWAYS, 0,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + path);
  DWORD written = 0;
  const bool whole = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written,
                               nullptr) && written == text.size();
  FlushFileBuffers(file);
  CloseHandle(file);
  if (!whole) throw std::runtime_error("short write to " + path);
}

void RequireTestPrefix(const char* runner) {
  if (std::getenv("TIDEWELL_TEST_PREFIX") == nullptr) {
    std::fprintf(stderr, "Run through %s.\n", runner);
    std::abort();
  }
}

std::string CopyProgramInto(const std::string& folder) {
  CreateDirectoryW(WideText(folder).c_str(), nullptr);
  const std::string program = folder + "tidewell.exe";
  if (!CopyFileW(WideText(FileNextToTest("tidewell.exe")).c_str(), WideText(program).c_str(),
                 FALSE)) {
    throw std::runtime_error("cannot copy the program to " + folder);
  }
  return program;
}

}  // namespace tidewell::testing
