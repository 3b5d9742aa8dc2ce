#include "tools/win/uRegistryBackup.h"

#include <vector>

#include "app/ApplicationFolder.h"
#include "app/RunMode.h"
#include "platform/win/WideText.h"
#include "tools/win/ToolWindowPaint.h"
#include "ui/win/SharedImages.h"

namespace tidewell {
namespace {

constexpr int kTextLeft = kToolPanelWidth + 16;
constexpr int kTextTop = 24;
constexpr int kTextRight = TTaskForm::kClientWidth - 20;
constexpr const char* kTitle = "Registry Backup";

}  // namespace

TfrmRegistryBackup::TfrmRegistryBackup(HWND owner, TAppServices& services,
                                       const TWinResources& resources)
    : TTaskForm("TfrmRegistryBackup", kTitle, owner, resources, true),
      services_(services),
      presenter_(
          *this,
          [this] {
            TRegistryBackupSystem system{services_.FileSystem, processes_, services_.Clock};
            return BackUpRegistry(system, ApplicationFolder);
          },
          [] { return RunMode == kRunModeAutorun; }) {
  boldFont_ = FontLike(Font(), FW_BOLD, 0, 0);
  // Bottom to top, as tall as the panel allows.
  titleFont_ = FontLike(Font(), FW_BOLD, -26, 900);
  btnRun_ = AddButton("Run", idRun, kButtonLeft, kBottomButtonTop - kButtonHeight - 10,
                      kButtonWidth, kButtonHeight);
  for (HWND button : {btnBack(), btnRun_}) {
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.Get()), TRUE);
  }
  if (resources.ImageList1 != nullptr) {
    runImage_.Reset(SingleImage(resources.ImageList1, imgRun));
    SetButtonPicture(btnRun_, runImage_.Get());
  }
}

TfrmRegistryBackup::~TfrmRegistryBackup() {
  // The buttons go before the fonts and the picture they use.
  DestroyHandle();
}

void TfrmRegistryBackup::BeforeShow() {
  TTaskForm::BeforeShow();
  // The folder shown may have changed since the last showing.
  InvalidateRect(Handle(), nullptr, TRUE);
  presenter_.Shown();
}

void TfrmRegistryBackup::OnClick(int id) {
  if (id == idRun) {
    presenter_.RunClicked();
  } else {
    TTaskForm::OnClick(id);
  }
}

void TfrmRegistryBackup::btnBackClick() { presenter_.BackClicked(); }

LRESULT TfrmRegistryBackup::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == tmrAfterShow) {
    presenter_.AfterShowTimer();
    return 0;
  }
  return TTaskForm::WndProc(message, wParam, lParam);
}

void TfrmRegistryBackup::Paint(HDC dc) {
  PaintToolPanel(dc, kClientHeight, titleFont_.Get(), kTitle,
                 kBottomButtonTop - kButtonHeight - 22);
  PaintInstructions(dc, Font(), boldFont_.Get(),
                    RegistryBackupInstructions(RegistryBackupFolder(ApplicationFolder)),
                    kTextLeft, kTextTop, kTextRight);
}

void TfrmRegistryBackup::SetButtonsEnabled(bool enabled) {
  EnableWindow(btnBack(), enabled);
  EnableWindow(btnRun_, enabled);
}

void TfrmRegistryBackup::ShowMessage(const std::string& text) {
  MessageBoxW(Handle(), WideText(text).c_str(),
              WideText(services_.ApplicationTitle).c_str(), MB_OK);
}

void TfrmRegistryBackup::StartAfterShowTimer() {
  SetTimer(Handle(), tmrAfterShow, kAfterShowMilliseconds, nullptr);
}

void TfrmRegistryBackup::StopAfterShowTimer() { KillTimer(Handle(), tmrAfterShow); }

bool TfrmRegistryBackup::IsVisible() { return IsWindowVisible(Handle()) != FALSE; }

void TfrmRegistryBackup::Close() { CloseModal(mrCancel); }

}  // namespace tidewell
