#include "undo/win/uRegistryUndo.h"

#include <commctrl.h>

#include <iterator>

#include "app/ApplicationFolder.h"
#include "platform/win/WideText.h"
#include "settings/FormPlacement.h"
#include "ui/win/HelpPopup.h"
#include "ui/RegEditMissingText.h"
#include "ui/win/RegEditNavigator.h"
#include "ui/win/SharedImages.h"
#include "ui/win/ToolTips.h"
#include "ui/win/WindowPlacement.h"

namespace tidewell {
namespace {

// The bottom panel, under the entry list and over the status bar.
constexpr int kMargin = 8;
constexpr int kListHeight = 244;
constexpr int kPanelTop = kMargin + kListHeight + 6;
constexpr int kGroupHeight = 60;
constexpr int kSmallButtonHeight = 26;

// Seconds since 1970 UTC, the scale of the file system's last-write times.
std::int64_t UnixNow() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER ticks;
  ticks.LowPart = now.dwLowDateTime;
  ticks.HighPart = now.dwHighDateTime;
  return static_cast<std::int64_t>(ticks.QuadPart / 10'000'000ULL) - 11'644'473'600LL;
}

// The list's own messages, seen before it handles them: the columns keep
// within their limits however they are set or dragged. Width changes reach
// the list as LVM_SETCOLUMNWIDTH or as its header's HDN_ITEMCHANGING.
LRESULT CALLBACK KeepColumnsWithinLimits(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR) {
  constexpr std::size_t kColumns = std::size(kUndoColumns);
  if (message == LVM_SETCOLUMNWIDTH && wParam < kColumns) {
    const int width = static_cast<short>(LOWORD(lParam));
    // Negative widths ask the list to size the column itself.
    if (width >= 0) lParam = MAKELPARAM(ClampColumnWidth(wParam, width), 0);
  } else if (message == WM_NOTIFY) {
    const auto* change = reinterpret_cast<const NMHEADERW*>(lParam);
    if ((change->hdr.code == HDN_ITEMCHANGINGW || change->hdr.code == HDN_ITEMCHANGINGA) &&
        change->pitem != nullptr && (change->pitem->mask & HDI_WIDTH) != 0 &&
        change->iItem >= 0 && static_cast<std::size_t>(change->iItem) < kColumns) {
      const auto column = static_cast<std::size_t>(change->iItem);
      const int clamped = ClampColumnWidth(column, change->pitem->cxy);
      if (clamped != change->pitem->cxy) {
        // Refused as asked; the nearest allowed width follows.
        PostMessageW(list, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(clamped, 0));
        return TRUE;
      }
    }
  }
  return DefSubclassProc(list, message, wParam, lParam);
}

}  // namespace

TfrmRegistryUndo::TfrmRegistryUndo(HWND owner, TAppServices& services,
                                   const TWinResources& resources)
    : TTaskForm("TfrmRegistryUndo", kUndoWindowCaption, owner, resources, true),
      services_(services),
      settings_(services.Settings.Open(kUndoSettingsStore, kUndoSettingsSection)),
      presenter_(*this,
                 TRegistryUndoSystem{services.FileSystem, services.CodePage, services.Registry,
                                     services.UndoFile,
                                     [&services] {
                                       services.ExitWin.SetAction(TExitWinAction::Restart);
                                       services.ExitWin.Execute();
                                     },
                                     UnixNow},
                 settings_, ApplicationFolder) {
  CreateControls(resources);
  if (const auto placement = ReadFormPlacement(settings_)) RestorePlacement(*placement);
  presenter_.Created();
}

TfrmRegistryUndo::~TfrmRegistryUndo() {
  // The controls go before the fonts and pictures they use.
  DestroyHandle();
}

void TfrmRegistryUndo::CreateControls(const TWinResources& resources) {
  // Group boxes leave their inside to the window behind them: the form must
  // paint under its children here.
  SetWindowLongPtrW(Handle(), GWL_STYLE,
                    GetWindowLongPtrW(Handle(), GWL_STYLE) & ~WS_CLIPCHILDREN);
  boldFont_ = FontLike(Font(), FW_BOLD);
  toolTips_ = CreateToolTips(Handle());
  SendMessageW(toolTips_, TTM_SETMAXTIPWIDTH, 0, kHelpPopupWidth);

  lvwRegKeys_ = AddControl(WC_LISTVIEWW, "",
                           WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS |
                               LVS_SINGLESEL | LVS_NOSORTHEADER,
                           idList, kMargin, kMargin, kClientWidth - 2 * kMargin, kListHeight);
  SendMessageW(lvwRegKeys_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  SetWindowSubclass(lvwRegKeys_, KeepColumnsWithinLimits, 0, 0);
  for (int i = 0; i < static_cast<int>(std::size(kUndoColumns)); ++i) {
    std::wstring caption = WideText(kUndoColumns[i].Caption);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = caption.data();
    column.cx = kUndoColumns[i].Width;
    column.iSubItem = i;
    SendMessageW(lvwRegKeys_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }

  // Left: Tick over Back.
  btnTick_ = AddButton("Tick", idTick, kMargin, kPanelTop + 6, 90, kSmallButtonHeight);
  SetWindowPos(btnBack(), nullptr, kMargin, kPanelTop + 6 + kSmallButtonHeight + 6, 90,
               kSmallButtonHeight, SWP_NOZORDER);
  if (resources.ImageList1 != nullptr) {
    tickImage_.Reset(SingleImage(resources.ImageList1, imgTick));
    SetButtonPicture(btnTick_, tickImage_.Get());
    statusIcon_.Reset(ImageList_GetIcon(resources.ImageList1, imgIdle, ILD_TRANSPARENT));
  }

  // "Select Undo File".
  int x = kMargin + 98;
  HWND fileGroup = AddControl(L"BUTTON", "Select Undo File", BS_GROUPBOX, idFileGroup, x,
                              kPanelTop, 160, kGroupHeight);
  cboUndoFiles_ = AddControl(WC_COMBOBOXW, "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                             idFiles, x + 8, kPanelTop + 24, 144, 200);
  AddHint(fileGroup, UndoFileGroupHint());
  AddHint(cboUndoFiles_, UndoFileGroupHint());

  // "Selected Undo File".
  x += 168;
  gbPicked_ = AddControl(L"BUTTON", "Selected Undo File", BS_GROUPBOX, idPickedGroup, x,
                         kPanelTop, 140, kGroupHeight);
  btnUndo_ = AddButton("&Undo", idUndo, x + 8, kPanelTop + 22, 60, kSmallButtonHeight);
  btnDelete_ = AddButton("&Delete", idDelete, x + 72, kPanelTop + 22, 60, kSmallButtonHeight);
  AddHint(btnUndo_, kUndoButtonHint);
  AddHint(btnDelete_, kDeleteButtonHint);

  // "Delete Undo Files": a group box without text, and a check box standing
  // where its caption would be.
  x += 148;
  const int groupWidth = kClientWidth - kMargin - x;
  gbDeleteUndoFiles_ = AddControl(L"BUTTON", "", BS_GROUPBOX, idDeleteGroup, x, kPanelTop,
                                  groupWidth, kGroupHeight);
  chkDeleteUndoFiles_ = AddControl(L"BUTTON", "Delete Undo Files", WS_TABSTOP | BS_AUTOCHECKBOX,
                                   idDeleteOld, x + 8, kPanelTop - 2, groupWidth - 12, 18);
  lblOlderThan_ = AddLabel("Older Than", -1, x + 8, kPanelTop + 28, 66, 18);
  seOlderThan_ = AddControl(L"EDIT", "", WS_TABSTOP | WS_BORDER | ES_NUMBER | ES_RIGHT,
                            idOlderThan, x + 76, kPanelTop + 25, 30, 22);
  seOlderThanSpin_ = CreateWindowExW(
      0, UPDOWN_CLASSW, nullptr,
      WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
      0, 0, 0, 0, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(idOlderThanSpin)),
      GetModuleHandleW(nullptr), nullptr);
  SendMessageW(seOlderThanSpin_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(seOlderThan_), 0);
  SendMessageW(seOlderThanSpin_, UDM_SETRANGE32, kOlderThanMin, kOlderThanMax);
  lblDays_ = AddLabel("Days", -1, x + 114, kPanelTop + 28, groupWidth - 118, 18);
  for (HWND control : {gbDeleteUndoFiles_, chkDeleteUndoFiles_, lblOlderThan_, seOlderThan_,
                       seOlderThanSpin_, lblDays_}) {
    AddHint(control, kDeleteOldFilesHint);
  }

  btnHelp_ = AddButton("?", idHelp, kClientWidth - kMargin - 24, kPanelTop + kGroupHeight + 4,
                       24, 20);
  AddHint(btnHelp_, kHelpButtonHint);

  sbStatus_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                              Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(idStatus)),
                              GetModuleHandleW(nullptr), nullptr);

  for (HWND bold : {btnTick_, btnBack(), fileGroup, gbPicked_, chkDeleteUndoFiles_, sbStatus_}) {
    SendMessageW(bold, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.Get()), TRUE);
  }

  HMENU system = GetSystemMenu(Handle(), FALSE);
  AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(system, MF_STRING, kWhatsThisCommand, L"&What's This?");
}

void TfrmRegistryUndo::AddHint(HWND control, const std::string& text) {
  hints_[control] = text;
  AddToolTip(toolTips_, Handle(), control, text);
}

void TfrmRegistryUndo::BeforeShow() {
  TTaskForm::BeforeShow();
  presenter_.Shown();
  // The caption check box stands over the group's frame: draw it again.
  InvalidateRect(gbDeleteUndoFiles_, nullptr, TRUE);
  InvalidateRect(chkDeleteUndoFiles_, nullptr, TRUE);
}

void TfrmRegistryUndo::OnClick(int id) {
  if (InHelpMode()) return;
  switch (id) {
    case idTick:
      ShowTickMenu();
      return;
    case idUndo:
      presenter_.UndoClicked();
      return;
    case idDelete:
      presenter_.DeleteClicked();
      return;
    case idDeleteOld:
      presenter_.DeleteOldFilesClicked(SendMessageW(chkDeleteUndoFiles_, BM_GETCHECK, 0, 0) ==
                                        BST_CHECKED);
      return;
    case idHelp:
      StartHelpMode();
      return;
    default:
      TTaskForm::OnClick(id);
  }
}

void TfrmRegistryUndo::ShowTickMenu() {
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, idTickAll, L"All");
  AppendMenuW(menu, MF_STRING, idTickNone, L"None");
  RECT button{};
  GetWindowRect(btnTick_, &button);
  const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN,
                                    button.left, button.bottom, 0, Handle(), nullptr);
  DestroyMenu(menu);
  if (chosen == idTickAll) presenter_.TickAll();
  if (chosen == idTickNone) presenter_.TickNone();
}

void TfrmRegistryUndo::btnBackClick() { presenter_.BackClicked(); }

void TfrmRegistryUndo::OnCloseRequest() {
  FormClose();
  TTaskForm::OnCloseRequest();
}

void TfrmRegistryUndo::FormClose() {
  presenter_.Closed();
  StoreFormPlacement(WindowPlacementOf(Handle()), settings_);
}

void TfrmRegistryUndo::StoreSettings() {
  presenter_.StoreSettings();
  StoreFormPlacement(WindowPlacementOf(Handle()), settings_);
}

// ---- "What's This?" -------------------------------------------------------

void TfrmRegistryUndo::ShowHelpAt(POINT clientPoint) {
  // The smallest visible control under the point: a control inside a group
  // box lies within the box's rectangle too.
  HWND best = nullptr;
  long bestArea = 0;
  for (const auto& [control, text] : hints_) {
    if (!IsWindowVisible(control)) continue;
    RECT box{};
    GetWindowRect(control, &box);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&box), 2);
    if (!PtInRect(&box, clientPoint)) continue;
    const long area = (box.right - box.left) * (box.bottom - box.top);
    if (best == nullptr || area < bestArea) {
      best = control;
      bestArea = area;
    }
  }
  if (best == nullptr) return;
  POINT at = clientPoint;
  ClientToScreen(Handle(), &at);
  ShowHelpPopup(Handle(), hints_[best], POINT{at.x + 8, at.y + 8}, kHelpPopupWidth - 14);
}

LRESULT TfrmRegistryUndo::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == kWhatsThisCommand) {
        StartHelpMode();
        return 0;
      }
      break;
    case WM_COMMAND:
      if (!updating_ && LOWORD(wParam) == idFiles && HIWORD(wParam) == CBN_SELCHANGE) {
        presenter_.FilePicked(static_cast<int>(SendMessageW(cboUndoFiles_, CB_GETCURSEL, 0, 0)));
        return 0;
      }
      if (!updating_ && LOWORD(wParam) == idOlderThan && HIWORD(wParam) == EN_CHANGE) {
        BOOL failed = FALSE;
        const int days =
            static_cast<int>(SendMessageW(seOlderThanSpin_, UDM_GETPOS32, 0,
                                          reinterpret_cast<LPARAM>(&failed)));
        if (!failed) presenter_.OlderThanChanged(days);
        return 0;
      }
      break;
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<NMHDR*>(lParam));
    default:
      break;
  }
  return TTaskForm::WndProc(message, wParam, lParam);
}

LRESULT TfrmRegistryUndo::OnNotify(NMHDR* header) {
  if (header->hwndFrom != lvwRegKeys_) return 0;
  if (header->code == LVN_ITEMCHANGED && !updating_) {
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
    if ((change->uChanged & LVIF_STATE) != 0 && change->iItem >= 0 &&
        ((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK) != 0) {
      presenter_.RowTicked(static_cast<std::size_t>(change->iItem),
                           (change->uNewState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2));
    }
  } else if (header->code == NM_DBLCLK) {
    presenter_.RowDoubleClicked(static_cast<int>(
        SendMessageW(lvwRegKeys_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)));
  }
  return 0;
}

// ---- TRegistryUndoView ----------------------------------------------------

void TfrmRegistryUndo::ShowFiles(const std::vector<std::string>& names, int picked) {
  updating_ = true;
  SendMessageW(cboUndoFiles_, CB_RESETCONTENT, 0, 0);
  for (const std::string& name : names) {
    SendMessageW(cboUndoFiles_, CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(WideText(name).c_str()));
  }
  SendMessageW(cboUndoFiles_, CB_SETCURSEL, static_cast<WPARAM>(picked), 0);
  updating_ = false;
}

void TfrmRegistryUndo::ShowEntries(const std::vector<TUndoEntry>& entries) {
  updating_ = true;
  SendMessageW(lvwRegKeys_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(lvwRegKeys_, LVM_DELETEALLITEMS, 0, 0);
  for (std::size_t row = 0; row < entries.size(); ++row) {
    std::wstring key = WideText(entries[row].Key);
    std::wstring value = WideText(entries[row].Value);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(row);
    item.pszText = key.data();
    const int index = static_cast<int>(
        SendMessageW(lvwRegKeys_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    item.iSubItem = 1;
    item.pszText = value.data();
    SendMessageW(lvwRegKeys_, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
    ShowTick(row, entries[row].Ticked);
  }
  SendMessageW(lvwRegKeys_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(lvwRegKeys_, nullptr, TRUE);
  updating_ = false;
}

void TfrmRegistryUndo::ShowTick(std::size_t row, bool ticked) {
  const bool was = updating_;
  updating_ = true;
  LVITEMW state{};
  state.stateMask = LVIS_STATEIMAGEMASK;
  state.state = INDEXTOSTATEIMAGEMASK(ticked ? 2 : 1);
  SendMessageW(lvwRegKeys_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
  updating_ = was;
}

void TfrmRegistryUndo::SetUndoEnabled(bool enabled) { EnableWindow(btnUndo_, enabled); }

void TfrmRegistryUndo::SetPickedFileGroupVisible(bool visible) {
  for (HWND control : {gbPicked_, btnUndo_, btnDelete_}) {
    ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
  }
}

void TfrmRegistryUndo::SetTickEnabled(bool enabled) { EnableWindow(btnTick_, enabled); }

void TfrmRegistryUndo::SetBackEnabled(bool enabled) { EnableWindow(btnBack(), enabled); }

void TfrmRegistryUndo::ShowDeleteOldFiles(bool ticked, int days) {
  updating_ = true;
  SendMessageW(chkDeleteUndoFiles_, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
  SendMessageW(seOlderThanSpin_, UDM_SETPOS32, 0, days);
  for (HWND control : {lblOlderThan_, seOlderThan_, seOlderThanSpin_, lblDays_}) {
    EnableWindow(control, ticked);
  }
  updating_ = false;
}

void TfrmRegistryUndo::ShowColumnWidths(const std::vector<int>& widths) {
  for (std::size_t i = 0; i < widths.size(); ++i) {
    SendMessageW(lvwRegKeys_, LVM_SETCOLUMNWIDTH, i, MAKELPARAM(widths[i], 0));
  }
}

std::vector<int> TfrmRegistryUndo::ColumnWidths() {
  std::vector<int> widths;
  for (std::size_t i = 0; i < std::size(kUndoColumns); ++i) {
    widths.push_back(static_cast<int>(SendMessageW(lvwRegKeys_, LVM_GETCOLUMNWIDTH, i, 0)));
  }
  return widths;
}

void TfrmRegistryUndo::ShowStatus(const std::string& text) { SetStatusText(text); }

void TfrmRegistryUndo::SetStatusText(const std::string& text) {
  if (statusIcon_.Get() != nullptr) {
    SendMessageW(sbStatus_, SB_SETICON, 0, reinterpret_cast<LPARAM>(statusIcon_.Get()));
  }
  SendMessageW(sbStatus_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(WideText(text).c_str()));
}

void TfrmRegistryUndo::ShowError(const std::string& text, bool titled) {
  MessageBoxW(Handle(), WideText(text).c_str(),
              titled ? WideText(services_.ApplicationTitle).c_str() : L"",
              MB_OK | MB_ICONERROR);
}

bool TfrmRegistryUndo::Confirm(const std::string& text) {
  return MessageBoxW(Handle(), WideText(text).c_str(),
                     WideText(services_.ApplicationTitle).c_str(),
                     MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void TfrmRegistryUndo::OpenRegistryEditor(const std::string& key, const std::string& valueName) {
  if (!OpenRegEditWithKey(key, valueName)) ShowError(kRegEditMissingText, false);
}

void TfrmRegistryUndo::Close() {
  FormClose();
  CloseModal(mrCancel);
}

}  // namespace tidewell
