#include "tools/win/uRegistryDefrag.h"

#include <commctrl.h>

#include "app/RunMode.h"
#include "app/win/WinVersionInfo.h"
#include "platform/win/WideText.h"
#include "tools/win/ToolWindowPaint.h"
#include "ui/win/SharedImages.h"

namespace tidewell {
namespace {

constexpr int kTextLeft = kToolPanelWidth + 16;
constexpr int kTextTop = 24;
constexpr int kTextRight = TTaskForm::kClientWidth - 20;
constexpr int kStatusHeight = 22;
constexpr int kStatusPaneWidth = 400;
constexpr const char* kTitle = "Registry Defrag";

}  // namespace

TfrmRegistryDefrag::TfrmRegistryDefrag(HWND owner, TAppServices& services,
                                       const TWinResources& resources)
    : TTaskForm("TfrmRegistryDefrag", kTitle, owner, resources, false),
      services_(services),
      images_(resources.ImageList1) {
  defrag_ = std::make_unique<TRegistryDefrag>(
      TDefragSystem{services_.Registry, services_.FileSystem, maintenance_,
                    services_.Environment, systemInfo_},
      ReadVersionInfo(services_.Environment.ProgramFileName()).InternalName);
  presenter_ = std::make_unique<TRegistryDefragPresenter>(
      static_cast<TRegistryDefragView&>(*this), *defrag_,
      [this] { services_.ExitWin.Execute(); },
      [] { return RunMode == kRunModeAutorun; },
      [this] { return systemInfo_.DecimalSeparator(); });

  boldFont_ = FontLike(Font(), FW_BOLD, 0, 0);
  titleFont_ = FontLike(Font(), FW_BOLD, -26, 900);

  // The buttons stand above the status bar.
  const int backTop = kClientHeight - kStatusHeight - 12 - kButtonHeight;
  MoveWindow(btnBack(), kButtonLeft, backTop, kButtonWidth, kButtonHeight, FALSE);
  btnRun_ = AddButton("Run", idRun, kButtonLeft, backTop - kButtonHeight - 10, kButtonWidth,
                      kButtonHeight);
  for (HWND button : {btnBack(), btnRun_}) {
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.Get()), TRUE);
  }
  if (images_ != nullptr) {
    runImage_.Reset(SingleImage(images_, imgRun));
    SetButtonPicture(btnRun_, runImage_.Get());
  }

  statusBar_ = AddControl(STATUSCLASSNAMEW, "Ready", WS_CHILD | WS_VISIBLE, idStatusBar, 0,
                          kClientHeight - kStatusHeight, kClientWidth, kStatusHeight);
  SendMessageW(statusBar_, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.Get()), TRUE);
  int parts[2] = {kStatusPaneWidth, -1};
  SendMessageW(statusBar_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
  SendMessageW(statusBar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"Ready"));
  RECT progressPart{};
  SendMessageW(statusBar_, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&progressPart));
  progressBar_ = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD, progressPart.left + 2,
                                 progressPart.top + 2, progressPart.right - progressPart.left - 4,
                                 progressPart.bottom - progressPart.top - 4, statusBar_,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(progressBar_, PBM_SETRANGE32, 0, kDefragProgressMax);
}

TfrmRegistryDefrag::~TfrmRegistryDefrag() {
  // The controls go before the fonts and pictures they use.
  DestroyHandle();
}

void TfrmRegistryDefrag::BeforeShow() {
  TTaskForm::BeforeShow();
  presenter_->Shown();
}

void TfrmRegistryDefrag::OnClick(int id) {
  if (id == idRun) {
    presenter_->RunClicked();
  } else {
    TTaskForm::OnClick(id);
  }
}

void TfrmRegistryDefrag::btnBackClick() { presenter_->BackClicked(); }

LRESULT TfrmRegistryDefrag::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == tmrAfterShow) {
    presenter_->AfterShowTimer();
    return 0;
  }
  return TTaskForm::WndProc(message, wParam, lParam);
}

void TfrmRegistryDefrag::Paint(HDC dc) {
  const int runTop = kClientHeight - kStatusHeight - 12 - 2 * kButtonHeight - 10;
  PaintToolPanel(dc, kClientHeight - kStatusHeight, titleFont_.Get(), kTitle, runTop - 12);
  PaintInstructions(dc, Font(), boldFont_.Get(), RegistryDefragInstructions(), kTextLeft,
                    kTextTop, kTextRight);
}

void TfrmRegistryDefrag::ChangeStatus(int image, const std::string& text) {
  if (images_ != nullptr) {
    statusIcon_.Reset(ImageList_GetIcon(images_, image, ILD_TRANSPARENT));
    SendMessageW(statusBar_, SB_SETICON, 0, reinterpret_cast<LPARAM>(statusIcon_.Get()));
  }
  SendMessageW(statusBar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(WideText(text).c_str()));
  UpdateWindow(statusBar_);
}

void TfrmRegistryDefrag::SetProgress(int value) {
  SendMessageW(progressBar_, PBM_SETPOS, value, 0);
  UpdateWindow(progressBar_);
}

void TfrmRegistryDefrag::ShowProgress(bool shown) {
  ShowWindow(progressBar_, shown ? SW_SHOWNA : SW_HIDE);
}

void TfrmRegistryDefrag::SetRunEnabled(bool enabled) { EnableWindow(btnRun_, enabled); }

void TfrmRegistryDefrag::SetBackEnabled(bool enabled) { EnableWindow(btnBack(), enabled); }

void TfrmRegistryDefrag::ShowMessage(const std::string& text) {
  MessageBoxW(Handle(), WideText(text).c_str(), WideText(services_.ApplicationTitle).c_str(),
              MB_OK);
}

bool TfrmRegistryDefrag::AskYesNo(const std::string& text) {
  return MessageBoxW(Handle(), WideText(text).c_str(),
                     WideText(services_.ApplicationTitle).c_str(),
                     MB_YESNO | MB_ICONQUESTION | MB_TOPMOST) == IDYES;
}

void TfrmRegistryDefrag::StartAfterShowTimer() {
  SetTimer(Handle(), tmrAfterShow, kAfterShowMilliseconds, nullptr);
}

void TfrmRegistryDefrag::StopAfterShowTimer() { KillTimer(Handle(), tmrAfterShow); }

bool TfrmRegistryDefrag::IsVisible() { return IsWindowVisible(Handle()) != FALSE; }

void TfrmRegistryDefrag::Close() { CloseModal(mrCancel); }

}  // namespace tidewell
