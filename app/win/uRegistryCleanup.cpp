#include "app/win/uRegistryCleanup.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <memory>

#include "app/ApplicationFolder.h"
#include "app/RunMode.h"
#include "platform/win/WideText.h"
#include "scan/AllChecks.h"
#include "settings/ExcludedKeysFile.h"
#include "settings/FormPlacement.h"
#include "ui/win/RegEditNavigator.h"
#include "ui/win/SharedImages.h"
#include "ui/win/ToolTips.h"
#include "ui/win/WindowPlacement.h"

namespace tidewell {
namespace {

constexpr int kMargin = 8;
constexpr int kListHeight = 262;
constexpr int kRegKeyTop = kMargin + kListHeight + 4;
constexpr int kButtonTop = 300;
constexpr UINT_PTR kAfterShowTimer = 1;
constexpr UINT kAfterShowMilliseconds = 1000;
constexpr const char* kColumnWidthsName = "lvwRegKeys.Columns.Width";

struct TColumn {
  const char* Caption;
  int Width;
  int Minimum;
  int Maximum;
};
constexpr TColumn kColumns[] = {
    {"Key", 300, 300, 3000},
    {"Value", 152, 100, 800},
    {"Description", 135, 100, 800},
};
constexpr int kColumnCount = 3;

// The status bar's panes: the status with its icon, the total, the progress.
constexpr int kStatusPaneRight = 150;
constexpr int kTotalPaneRight = 260;

}  // namespace

TfrmRegistryCleanup::TfrmRegistryCleanup(HWND owner, TAppServices& services,
                                         const TWinResources& resources,
                                         std::function<std::uint16_t()> categories)
    : TTaskForm("TfrmRegistryCleanup", "Registry Cleanup", owner, resources, true),
      services_(services),
      settings_(services.Settings.Open("RegistryCleanup", "frmRegistryCleanup")),
      references_(services.Folders, services.FileSystem, services.Environment,
                  services.Registry),
      presenter_(
          *this, dispatcher_,
          [this] {
            return std::make_unique<TRegistryCheckThread>(services_.Registry, dispatcher_,
                                                          &services_.UndoFile,
                                                          MakeAllChecks(references_));
          },
          std::move(categories), RunMode, services.FileSystem, services.CodePage,
          ExcludedKeysPath(ApplicationFolder),
          // Every row can then say why it was reported, in its tooltip.
          TRegistryCleanupOptions{2500, true}),
      images_(resources.ImageList1) {
  CreateControls();
  std::vector<std::int64_t> widths;
  for (const TColumn& column : kColumns) widths.push_back(column.Width);
  ApplyColumnWidths(settings_.ReadIntegerList(kColumnWidthsName, widths));
  if (const auto placement = ReadFormPlacement(settings_)) RestorePlacement(*placement);
}

TfrmRegistryCleanup::~TfrmRegistryCleanup() {
  // The controls go before the fonts and pictures they show.
  DestroyHandle();
}

void TfrmRegistryCleanup::CreateControls() {
  boldFont_.Reset([this] {
    LOGFONTW font{};
    GetObjectW(Font(), sizeof font, &font);
    font.lfWeight = FW_BOLD;
    return CreateFontIndirectW(&font);
  }());
  CreateList();
  lblRegKey_ = AddLabel("", idRegKey, kMargin, kRegKeyTop, kClientWidth - 2 * kMargin, 18,
                        SS_PATHELLIPSIS | SS_NOPREFIX);

  // Back stays at the left; the work buttons stand to the right.
  SetWindowPos(btnBack(), nullptr, kButtonLeft, kButtonTop, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const int right = kClientWidth - kButtonLeft;
  btnDelete_ = AddButton("Delete", idDelete, right - kButtonWidth, kButtonTop, kButtonWidth,
                         kButtonHeight);
  btnTick_ = AddButton("Tick", idTick, right - 2 * kButtonWidth - 8, kButtonTop, kButtonWidth,
                       kButtonHeight);
  btnRun_ = AddButton("Run", idRun, right - 3 * kButtonWidth - 16, kButtonTop, kButtonWidth,
                      kButtonHeight);
  for (HWND button : {btnBack(), btnRun_, btnDelete_, btnTick_}) {
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.Get()), TRUE);
  }
  SetButtonImage(btnRun_, runImage_, imgRun);
  SetButtonImage(btnDelete_, deleteImage_, imgDelete);
  SetButtonImage(btnTick_, tickImage_, imgTick);
  if (images_ != nullptr) stopImage_.Reset(SingleImage(images_, imgStop));

  tooltip_ = CreateToolTips(Handle());
  AddToolTip(tooltip_, Handle(), btnRun_, "Scan the registry for invalid entries.");
  AddToolTip(tooltip_, Handle(), btnDelete_, "Delete the ticked entries.");
  AddToolTip(tooltip_, Handle(), btnTick_, "Tick or untick all of the entries at once.");
  // The list's tip follows the row under the pointer (hot tracking selects
  // it): why that row was reported.
  AddToolTip(tooltip_, Handle(), lvwRegKeys_, "");
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 520);
  SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, 30000);
  CreateStatusBar();
}

void TfrmRegistryCleanup::CreateList() {
  lvwRegKeys_ = AddControl(WC_LISTVIEWW, "",
                           WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL |
                               LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                           idList, kMargin, kMargin, kClientWidth - 2 * kMargin, kListHeight);
  // Hot tracking: the row under the pointer is underlined and selected at
  // once, so that the context menu acts on the row last pointed at.
  ListView_SetExtendedListViewStyle(
      lvwRegKeys_, LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT |
                       LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE | LVS_EX_UNDERLINEHOT);
  ListView_SetHoverTime(lvwRegKeys_, 1);
  for (int i = 0; i < kColumnCount; ++i) {
    const std::wstring caption = WideText(kColumns[i].Caption);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(caption.c_str());
    column.cx = kColumns[i].Width;
    column.iSubItem = i;
    SendMessageW(lvwRegKeys_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
}

void TfrmRegistryCleanup::CreateStatusBar() {
  statusBar_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | CCS_BOTTOM,
                               0, 0, 0, 0, Handle(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(idStatusBar)),
                               GetModuleHandleW(nullptr), nullptr);
  SendMessageW(statusBar_, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.Get()), TRUE);
  const int parts[] = {kStatusPaneRight, kTotalPaneRight, -1};
  SendMessageW(statusBar_, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
  RECT pane{};
  SendMessageW(statusBar_, SB_GETRECT, 2, reinterpret_cast<LPARAM>(&pane));
  progressBar_ = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD, pane.left + 2, pane.top + 2,
                                 pane.right - pane.left - 4, pane.bottom - pane.top - 4,
                                 statusBar_, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (images_ != nullptr) {
    statusIcons_[0].Reset(ImageList_GetIcon(images_, imgWorking, ILD_NORMAL));
    statusIcons_[1].Reset(ImageList_GetIcon(images_, imgIdle, ILD_NORMAL));
  }
}

void TfrmRegistryCleanup::SetButtonImage(HWND button, TImageList& image, int index) {
  if (images_ == nullptr) return;
  image.Reset(SingleImage(images_, index));
  SetButtonPicture(button, image.Get());
}

void TfrmRegistryCleanup::ApplyColumnWidths(const std::vector<std::int64_t>& widths) {
  for (int i = 0; i < kColumnCount; ++i) {
    const std::int64_t wanted =
        static_cast<std::size_t>(i) < widths.size() ? widths[i] : kColumns[i].Width;
    const int width = static_cast<int>(std::clamp<std::int64_t>(
        wanted, kColumns[i].Minimum, kColumns[i].Maximum));
    ListView_SetColumnWidth(lvwRegKeys_, i, width);
  }
}

void TfrmRegistryCleanup::StoreSettings() {
  std::vector<std::int64_t> widths;
  for (int i = 0; i < kColumnCount; ++i) widths.push_back(ListView_GetColumnWidth(lvwRegKeys_, i));
  settings_.WriteIntegerList(kColumnWidthsName, widths);
  StoreFormPlacement(WindowPlacementOf(Handle()), settings_);
}

void TfrmRegistryCleanup::BeforeShow() {
  TTaskForm::BeforeShow();
  presenter_.Shown();
}

void TfrmRegistryCleanup::OnClick(int id) {
  switch (id) {
    case idRun:
      presenter_.RunStopClicked();
      return;
    case idDelete:
      presenter_.DeleteClicked();
      return;
    case idTick:
      ShowTickMenu();
      return;
    case idTickAll:
      presenter_.TickAllClicked();
      return;
    case idTickNone:
      presenter_.TickNoneClicked();
      return;
    case idViewSelected:
      presenter_.ViewSelectedClicked();
      return;
    case idExcludeSelected:
      presenter_.ExcludeSelectedClicked();
      return;
    case idDeleteSelected:
      presenter_.DeleteSelectedClicked();
      return;
    default:
      TTaskForm::OnClick(id);
  }
}

void TfrmRegistryCleanup::btnBackClick() { presenter_.CloseRequested(); }

void TfrmRegistryCleanup::OnCloseRequest() { presenter_.CloseRequested(); }

void TfrmRegistryCleanup::ShowWhyFlagged(int row) {
  const std::string why = presenter_.WhyFlagged(row);
  const std::wstring text = why.empty() ? std::wstring() : WideText("Why it was reported:\r\n" + why);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = Handle();
  tool.uId = reinterpret_cast<UINT_PTR>(lvwRegKeys_);
  tool.lpszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TfrmRegistryCleanup::ShowTickMenu() {
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, idTickAll, L"All");
  AppendMenuW(menu, MF_STRING, idTickNone, L"None");
  RECT button{};
  GetWindowRect(btnTick_, &button);
  // The chosen entry arrives as WM_COMMAND, like a button's click.
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN, button.left, button.bottom, 0, Handle(),
                 nullptr);
  DestroyMenu(menu);
}

void TfrmRegistryCleanup::ShowContextMenu(int x, int y) {
  if (x == -1 && y == -1) {
    // From the keyboard: under the highlighted row, or at the list's corner.
    RECT place{};
    const int row = ListView_GetNextItem(lvwRegKeys_, -1, LVNI_SELECTED);
    if (row < 0 || !ListView_GetItemRect(lvwRegKeys_, row, &place, LVIR_LABEL)) {
      GetClientRect(lvwRegKeys_, &place);
    }
    POINT corner{place.left, place.bottom};
    ClientToScreen(lvwRegKeys_, &corner);
    x = corner.x;
    y = corner.y;
  }
  const bool rowActions = presenter_.RowActionsAvailable();
  HMENU menu = CreatePopupMenu();
  if (rowActions) AppendMenuW(menu, MF_STRING, idViewSelected, L"View Selected");
  AppendMenuW(menu, MF_STRING, idExcludeSelected, L"Exclude Selected");
  if (rowActions) AppendMenuW(menu, MF_STRING, idDeleteSelected, L"Delete Selected");
  TrackPopupMenu(menu, TPM_RIGHTBUTTON, x, y, 0, Handle(), nullptr);
  DestroyMenu(menu);
}

void TfrmRegistryCleanup::OnListNotify(const NMHDR& header, LPARAM lParam) {
  switch (header.code) {
    case LVN_ITEMCHANGED: {
      const auto& change = *reinterpret_cast<const NMLISTVIEW*>(lParam);
      if (change.iItem < 0 || (change.uChanged & LVIF_STATE) == 0) return;
      if (((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK) != 0 &&
          (change.uNewState & LVIS_STATEIMAGEMASK) != 0) {
        presenter_.RowTickChanged(change.iItem, ListView_GetCheckState(lvwRegKeys_,
                                                                       change.iItem) != 0);
      }
      if (((change.uNewState ^ change.uOldState) & LVIS_SELECTED) != 0) {
        const int row = ListView_GetNextItem(lvwRegKeys_, -1, LVNI_SELECTED);
        presenter_.RowSelected(row);
        ShowWhyFlagged(row);
      }
      return;
    }
    case NM_DBLCLK:
      presenter_.ViewSelectedClicked();
      return;
    default:
      return;
  }
}

LRESULT TfrmRegistryCleanup::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      if (header.hwndFrom == lvwRegKeys_) {
        OnListNotify(header, lParam);
        return 0;
      }
      if (header.code == HDN_ITEMCHANGEDW || header.code == HDN_ITEMCHANGEDA) {
        // A column dragged past its limits is put back inside them.
        const auto& change = *reinterpret_cast<const NMHEADERW*>(lParam);
        if (change.iItem >= 0 && change.iItem < kColumnCount && change.pitem != nullptr &&
            (change.pitem->mask & HDI_WIDTH) != 0) {
          const TColumn& column = kColumns[change.iItem];
          const int width = std::clamp(change.pitem->cxy, column.Minimum, column.Maximum);
          if (width != change.pitem->cxy) ListView_SetColumnWidth(lvwRegKeys_, change.iItem, width);
        }
        return 0;
      }
      break;
    }
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) == lvwRegKeys_) {
        ShowContextMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
      }
      break;
    case WM_TIMER:
      if (wParam == kAfterShowTimer) {
        presenter_.AfterShowTimer();
        return 0;
      }
      break;
    default:
      break;
  }
  return TTaskForm::WndProc(message, wParam, lParam);
}

void TfrmRegistryCleanup::AddRow(const std::string& key, const std::string& value,
                                 const std::string& description) {
  const int index = ListView_GetItemCount(lvwRegKeys_);
  const std::wstring texts[] = {WideText(key), WideText(value), WideText(description)};
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.pszText = const_cast<wchar_t*>(texts[0].c_str());
  SendMessageW(lvwRegKeys_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  for (int column = 1; column < kColumnCount; ++column) {
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(texts[column].c_str());
    SendMessageW(lvwRegKeys_, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
  }
}

void TfrmRegistryCleanup::RemoveRow(int index) { ListView_DeleteItem(lvwRegKeys_, index); }

void TfrmRegistryCleanup::ClearRows() { ListView_DeleteAllItems(lvwRegKeys_); }

void TfrmRegistryCleanup::ShowRowTick(int index, bool ticked) {
  ListView_SetCheckState(lvwRegKeys_, index, ticked ? TRUE : FALSE);
}

void TfrmRegistryCleanup::ShowStatus(TStatusIcon icon, const std::string& text) {
  const int image = icon == TStatusIcon::Working ? 0 : 1;
  SendMessageW(statusBar_, SB_SETICON, 0, reinterpret_cast<LPARAM>(statusIcons_[image].Get()));
  SendMessageW(statusBar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(WideText(text).c_str()));
}

void TfrmRegistryCleanup::ShowTotal(const std::string& text) {
  totalText_ = text;
  if (totalShown_) {
    SendMessageW(statusBar_, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(WideText(text).c_str()));
  }
}

void TfrmRegistryCleanup::ShowStatusLine(const std::string& text) {
  SetWindowTextW(lblRegKey_, WideText(text).c_str());
}

void TfrmRegistryCleanup::ShowProgress(std::int32_t max, std::int32_t position) {
  SendMessageW(progressBar_, PBM_SETRANGE32, 0, max);
  SendMessageW(progressBar_, PBM_SETPOS, position, 0);
}

void TfrmRegistryCleanup::SetPaneVisible(TCleanupPane pane, bool visible) {
  switch (pane) {
    case TCleanupPane::Total:
      totalShown_ = visible;
      SendMessageW(statusBar_, SB_SETTEXTW, 1,
                   reinterpret_cast<LPARAM>(WideText(visible ? totalText_ : "").c_str()));
      return;
    case TCleanupPane::StatusLine:
      ShowWindow(lblRegKey_, visible ? SW_SHOWNA : SW_HIDE);
      return;
    case TCleanupPane::Progress:
      ShowWindow(progressBar_, visible ? SW_SHOWNA : SW_HIDE);
      return;
  }
}

void TfrmRegistryCleanup::SetButtonEnabled(TCleanupButton button, bool enabled) {
  HWND control = nullptr;
  switch (button) {
    case TCleanupButton::Run: control = btnRun_; break;
    case TCleanupButton::Back: control = btnBack(); break;
    case TCleanupButton::Delete: control = btnDelete_; break;
    case TCleanupButton::Tick: control = btnTick_; break;
  }
  EnableWindow(control, enabled ? TRUE : FALSE);
}

void TfrmRegistryCleanup::ShowRunAsStop(bool stop) {
  SetWindowTextW(btnRun_, stop ? L"Stop" : L"Run");
  if (images_ == nullptr) return;
  SetButtonPicture(btnRun_, stop ? stopImage_.Get() : runImage_.Get());
}

void TfrmRegistryCleanup::ShowMessage(TMessageKind kind, const std::string& text) {
  // The two messages about the list's use have no title, as the user's own
  // slip is all they report.
  const bool untitled = text == kSelectFirstText || text == kRegEditMissingText;
  MessageBoxW(Handle(), WideText(text).c_str(),
              untitled ? L"" : WideText(services_.ApplicationTitle).c_str(),
              MB_OK | (kind == TMessageKind::Error ? MB_ICONERROR : MB_ICONINFORMATION));
}

bool TfrmRegistryCleanup::OpenRegistryEditor(const std::string& key, const std::string& value) {
  return OpenRegEditWithKey(key, value);
}

void TfrmRegistryCleanup::StartAfterShowTimer() {
  SetTimer(Handle(), kAfterShowTimer, kAfterShowMilliseconds, nullptr);
}

void TfrmRegistryCleanup::StopAfterShowTimer() { KillTimer(Handle(), kAfterShowTimer); }

bool TfrmRegistryCleanup::IsVisible() { return IsWindowVisible(Handle()) != FALSE; }

void TfrmRegistryCleanup::CloseWindow() {
  StoreSettings();
  CloseModal(mrCancel);
}

}  // namespace tidewell
