#include "ui/win/RegEditNavigator.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "platform/TextTrim.h"
#include "platform/win/ScopedHandle.h"
#include "platform/win/WideText.h"

namespace tidewell {
namespace {

constexpr DWORD kIdleWaitMilliseconds = 10000;
constexpr int kWindowWaitMilliseconds = 5000;
constexpr int kPollMilliseconds = 100;

// Item structures and texts passed to the editor's controls must live in the
// editor's own memory: a block of it, given back when done.
class TRemoteBuffer {
 public:
  static constexpr SIZE_T kSize = 4096;
  static constexpr SIZE_T kTextOffset = 512;
  static constexpr int kTextChars = static_cast<int>((kSize - kTextOffset) / sizeof(wchar_t));

  explicit TRemoteBuffer(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    process_ = TScopedHandle(OpenProcess(
        PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
        FALSE, processId));
    if (!process_.IsValid() || !SameBitness()) return;
    base_ = static_cast<char*>(
        VirtualAllocEx(process_.Get(), nullptr, kSize, MEM_COMMIT, PAGE_READWRITE));
  }
  ~TRemoteBuffer() {
    if (base_ != nullptr) VirtualFreeEx(process_.Get(), base_, 0, MEM_RELEASE);
  }
  TRemoteBuffer(const TRemoteBuffer&) = delete;
  TRemoteBuffer& operator=(const TRemoteBuffer&) = delete;

  bool IsValid() const { return base_ != nullptr; }
  char* At(SIZE_T offset) const { return base_ + offset; }
  bool Write(SIZE_T offset, const void* data, SIZE_T size) {
    return WriteProcessMemory(process_.Get(), At(offset), data, size, nullptr) != 0;
  }
  std::wstring Text() {
    std::vector<wchar_t> text(kTextChars, L'\0');
    if (!ReadProcessMemory(process_.Get(), At(kTextOffset), text.data(),
                           text.size() * sizeof(wchar_t), nullptr)) {
      return L"";
    }
    text.back() = L'\0';
    return text.data();
  }

 private:
  // The item structures hold pointers: their layout is the editor's.
  bool SameBitness() const {
    BOOL ownWow = FALSE;
    BOOL theirWow = FALSE;
    IsWow64Process(GetCurrentProcess(), &ownWow);
    IsWow64Process(process_.Get(), &theirWow);
    return ownWow == theirWow;
  }

  TScopedHandle process_;
  char* base_ = nullptr;
};

struct TClassSearch {
  const wchar_t* ClassName;
  HWND Found;
};

BOOL CALLBACK MatchClass(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<TClassSearch*>(lParam);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (lstrcmpiW(name, search->ClassName) == 0) {
    search->Found = window;
    return FALSE;
  }
  return TRUE;
}

bool SameName(const std::wstring& a, const std::wstring& b) {
  return lstrcmpiW(a.c_str(), b.c_str()) == 0;
}

HWND StartRegEdit() {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.lpVerb = L"open";
  info.lpFile = L"Regedit.exe";
  info.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExW(&info)) return nullptr;
  TScopedHandle process(info.hProcess);
  // A time limit: a hung editor must not hang this window with it.
  if (process.IsValid()) WaitForInputIdle(process.Get(), kIdleWaitMilliseconds);
  for (int waited = 0;; waited += kPollMilliseconds) {
    if (HWND editor = FindRegEditWindow()) return editor;
    if (waited >= kWindowWaitMilliseconds) return nullptr;
    Sleep(kPollMilliseconds);
  }
}

HTREEITEM NextItem(HWND tree, HTREEITEM item, UINT relation) {
  return reinterpret_cast<HTREEITEM>(
      SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

std::wstring TreeItemText(HWND tree, TRemoteBuffer& buffer, HTREEITEM item) {
  TVITEMW request{};
  request.mask = TVIF_HANDLE | TVIF_TEXT;
  request.hItem = item;
  request.pszText = reinterpret_cast<LPWSTR>(buffer.At(TRemoteBuffer::kTextOffset));
  request.cchTextMax = TRemoteBuffer::kTextChars;
  if (!buffer.Write(0, &request, sizeof request)) return L"";
  if (!SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(buffer.At(0)))) return L"";
  return buffer.Text();
}

HTREEITEM FindSibling(HWND tree, TRemoteBuffer& buffer, HTREEITEM first,
                      const std::wstring& name) {
  for (HTREEITEM item = first; item != nullptr; item = NextItem(tree, item, TVGN_NEXT)) {
    if (SameName(TreeItemText(tree, buffer, item), name)) return item;
  }
  return nullptr;
}

// The editor fills a node's children when it is expanded.
HTREEITEM ExpandedChildren(HWND tree, HTREEITEM item) {
  SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
  return NextItem(tree, item, TVGN_CHILD);
}

void SelectKey(HWND tree, const std::wstring& key) {
  TRemoteBuffer buffer(tree);
  if (!buffer.IsValid()) return;
  std::vector<std::wstring> names;
  for (std::size_t at = 0; at <= key.size();) {
    const std::size_t slash = std::min(key.find(L'\\', at), key.size());
    if (slash > at) names.push_back(key.substr(at, slash - at));
    at = slash + 1;
  }
  if (names.empty()) return;

  HTREEITEM level = NextItem(tree, nullptr, TVGN_ROOT);
  // Root keys stand under one "Computer" node on most systems.
  if (level != nullptr && FindSibling(tree, buffer, level, names.front()) == nullptr) {
    level = ExpandedChildren(tree, level);
  }
  HTREEITEM reached = nullptr;
  for (const std::wstring& name : names) {
    HTREEITEM found = FindSibling(tree, buffer, level, name);
    if (found == nullptr) break;
    reached = found;
    level = ExpandedChildren(tree, found);
  }
  if (reached == nullptr) return;
  SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(reached));
  SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(reached));
}

void SelectValue(HWND list, const std::wstring& value) {
  TRemoteBuffer buffer(list);
  if (!buffer.IsValid()) return;
  const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  // The default value is the first row, whatever the editor calls it.
  int row = value.empty() && count > 0 ? 0 : -1;
  for (int i = 0; row < 0 && i < count; ++i) {
    LVITEMW request{};
    request.iSubItem = 0;
    request.pszText = reinterpret_cast<LPWSTR>(buffer.At(TRemoteBuffer::kTextOffset));
    request.cchTextMax = TRemoteBuffer::kTextChars;
    if (!buffer.Write(0, &request, sizeof request)) return;
    SendMessageW(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(buffer.At(0)));
    if (SameName(buffer.Text(), value)) row = i;
  }
  if (row < 0) return;
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = 0;
  if (!buffer.Write(0, &state, sizeof state)) return;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
               reinterpret_cast<LPARAM>(buffer.At(0)));
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  if (!buffer.Write(0, &state, sizeof state)) return;
  SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(buffer.At(0)));
  SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
}

// Focus belongs to the thread that owns the window: join its input for the
// moment of the call.
void FocusOtherProcessWindow(HWND window) {
  const DWORD theirs = GetWindowThreadProcessId(window, nullptr);
  const DWORD ours = GetCurrentThreadId();
  const bool attached = theirs != ours && AttachThreadInput(ours, theirs, TRUE) != 0;
  SetFocus(window);
  if (attached) AttachThreadInput(ours, theirs, FALSE);
}

}  // namespace

HWND FindRegEditWindow() { return FindWindowW(L"RegEdit_RegEdit", nullptr); }

HWND FindDescendantOfClass(HWND parent, const wchar_t* className) {
  TClassSearch search{className, nullptr};
  EnumChildWindows(parent, MatchClass, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

bool OpenRegEditWithKey(const std::string& keyText, const std::string& valueName) {
  const std::wstring key = WideText(TrimText(keyText));
  const std::wstring value = WideText(TrimText(valueName));
  if (key.empty()) return true;
  HWND editor = FindRegEditWindow();
  if (editor == nullptr) editor = StartRegEdit();
  if (editor == nullptr) return false;
  ShowWindow(editor, SW_RESTORE);
  SetForegroundWindow(editor);
  if (HWND tree = FindDescendantOfClass(editor, WC_TREEVIEWW)) SelectKey(tree, key);
  if (HWND list = FindDescendantOfClass(editor, WC_LISTVIEWW)) {
    SelectValue(list, value);
    FocusOtherProcessWindow(list);
  }
  return true;
}

}  // namespace tidewell
