#include "ui/win/RegEditNavigator.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <string>

#include "platform/TextEncoding.h"
#include "platform/win/WideText.h"

namespace tidewell {
namespace {

struct TChildSearch {
  const wchar_t* ClassName;
  HWND Found;
};

BOOL CALLBACK MatchClass(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<TChildSearch*>(parameter);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (lstrcmpiW(name, search->ClassName) == 0) {
    search->Found = window;
    return FALSE;
  }
  return TRUE;
}

// The editor's tree or list, at whatever depth it sits: on Windows they are
// its direct children with an empty text, under Wine they stand inside a
// frame child and are titled "Tree View" and "List View".
HWND FindDescendant(HWND parent, const wchar_t* className) {
  TChildSearch search{className, nullptr};
  EnumChildWindows(parent, &MatchClass, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

HWND FindEditor() { return FindWindowW(L"RegEdit_RegEdit", nullptr); }

HWND StartEditor() {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.lpVerb = L"open";
  info.lpFile = L"Regedit.exe";
  info.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExW(&info)) return nullptr;
  if (info.hProcess != nullptr) {
    WaitForInputIdle(info.hProcess, INFINITE);
    CloseHandle(info.hProcess);
  }
  return FindEditor();
}

// Memory in the editor's process: its controls read and write their item
// structures there, never in ours.
class TRemoteBuffer {
 public:
  static constexpr std::size_t kTextChars = 512;

  explicit TRemoteBuffer(HWND control) {
    DWORD processId = 0;
    GetWindowThreadProcessId(control, &processId);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                           processId);
    if (process_ != nullptr) {
      address_ = static_cast<unsigned char*>(VirtualAllocEx(
          process_, nullptr, kSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    }
  }
  ~TRemoteBuffer() {
    if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_ != nullptr) CloseHandle(process_);
  }
  TRemoteBuffer(const TRemoteBuffer&) = delete;
  TRemoteBuffer& operator=(const TRemoteBuffer&) = delete;

  bool Ready() const { return address_ != nullptr; }
  // The item structure goes first, its text right after it.
  LPARAM Item() const { return reinterpret_cast<LPARAM>(address_); }
  wchar_t* Text() const { return reinterpret_cast<wchar_t*>(address_ + kItemSize); }

  template <typename T>
  void PutItem(const T& item) {
    WriteProcessMemory(process_, address_, &item, sizeof(item), nullptr);
  }
  std::string ReadText() {
    std::wstring text(kTextChars, L'\0');
    ReadProcessMemory(process_, Text(), text.data(), text.size() * sizeof(wchar_t), nullptr);
    text.resize(text.find(L'\0') == std::wstring::npos ? 0 : text.find(L'\0'));
    return NarrowText(text);
  }

 private:
  static constexpr std::size_t kItemSize = 128;  // larger than TVITEMW and LVITEMW
  static constexpr std::size_t kSize = kItemSize + kTextChars * sizeof(wchar_t);
  HANDLE process_ = nullptr;
  unsigned char* address_ = nullptr;
};

std::string TreeItemText(HWND tree, TRemoteBuffer& buffer, HTREEITEM item) {
  TVITEMW query{};
  query.mask = TVIF_TEXT | TVIF_HANDLE;
  query.hItem = item;
  query.pszText = buffer.Text();
  query.cchTextMax = TRemoteBuffer::kTextChars;
  buffer.PutItem(query);
  if (!SendMessageW(tree, TVM_GETITEMW, 0, buffer.Item())) return "";
  return buffer.ReadText();
}

HTREEITEM NextItem(HWND tree, HTREEITEM item, WPARAM relation) {
  return reinterpret_cast<HTREEITEM>(
      SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

void Select(HWND tree, HTREEITEM item) {
  SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
}

// Walks the tree from its top node ("Computer") down the key's names, opening
// each node as a user's Right key does: the editor fills in a node's children
// only when it is opened that way. Stops at the deepest name found.
void SelectKey(HWND tree, const std::string& key) {
  TRemoteBuffer buffer(tree);
  if (!buffer.Ready()) return;
  HTREEITEM current = NextItem(tree, nullptr, TVGN_ROOT);
  if (current == nullptr) return;
  std::size_t start = 0;
  while (start <= key.size()) {
    const std::size_t end = std::min(key.find('\\', start), key.size());
    const std::string name = key.substr(start, end - start);
    start = end + 1;
    if (name.empty()) continue;
    Select(tree, current);
    SendMessageW(tree, WM_KEYDOWN, VK_RIGHT, 0);
    HTREEITEM child = NextItem(tree, current, TVGN_CHILD);
    while (child != nullptr && !NamesEqual(TreeItemText(tree, buffer, child), name)) {
      child = NextItem(tree, child, TVGN_NEXT);
    }
    if (child == nullptr) break;
    current = child;
  }
  Select(tree, current);
}

void SelectValue(HWND list, const std::string& value) {
  TRemoteBuffer buffer(list);
  if (!buffer.Ready() || value.empty()) return;
  const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    LVITEMW query{};
    query.iSubItem = 0;
    query.pszText = buffer.Text();
    query.cchTextMax = TRemoteBuffer::kTextChars;
    buffer.PutItem(query);
    SendMessageW(list, LVM_GETITEMTEXTW, row, buffer.Item());
    if (!NamesEqual(buffer.ReadText(), value)) continue;
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    buffer.PutItem(state);
    SendMessageW(list, LVM_SETITEMSTATE, row, buffer.Item());
    SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
    return;
  }
}

}  // namespace

bool OpenRegEditWithKey(const std::string& key, const std::string& value) {
  if (key.empty()) return true;
  HWND editor = FindEditor();
  if (editor == nullptr) editor = StartEditor();
  if (editor == nullptr) return false;
  ShowWindow(editor, SW_RESTORE);
  SetForegroundWindow(editor);
  if (HWND tree = FindDescendant(editor, L"SysTreeView32")) SelectKey(tree, key);
  if (HWND list = FindDescendant(editor, L"SysListView32")) {
    SetFocus(list);
    SelectValue(list, value);
  }
  return true;
}

}  // namespace tidewell
