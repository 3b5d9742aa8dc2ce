#include "app/win/uHelp.h"

#include <commctrl.h>

#include "platform/win/WideText.h"
#include "ui/win/SharedImages.h"
#include "ui/win/ToolTips.h"

namespace tidewell {

namespace {

constexpr int kHalf = TTaskForm::kClientWidth / 2;
constexpr int kFlatLeft = kHalf + 40;
constexpr int kFlatWidth = 200;
constexpr int kFlatHeight = 40;

}  // namespace

TfrmHelp::TfrmHelp(HWND owner, TAppServices& services, const TWinResources& resources)
    : TTaskForm("TfrmHelp", kHelpCaption, owner, resources, true),
      presenter_(services.Shell) {
  // Read from the bottom up, as tall as the left half allows.
  titleFont_ = FontLike(Font(), FW_BOLD, -32, 900);
  buttonFont_ = FontLike(Font(), FW_BOLD, -14, 0);
  if (resources.ImageList1 != nullptr) {
    faqImage_.Reset(SingleImage(resources.ImageList1, imgHelp));
    emailImage_.Reset(SingleImage(resources.ImageList1, imgNext));
  }
  btnFAQ_ = AddFlatButton(kFaqButtonCaption, idFAQ, 110, faqImage_.Get());
  btnEmail_ = AddFlatButton(kEmailButtonCaption, idEmail, 110 + kFlatHeight + 24,
                            emailImage_.Get());
  HWND tooltip = CreateToolTips(Handle());
  AddToolTip(tooltip, Handle(), btnFAQ_, THelpPresenter::FaqToolTip());
  AddToolTip(tooltip, Handle(), btnEmail_, THelpPresenter::EmailToolTip());
}

TfrmHelp::~TfrmHelp() {
  // The buttons go before their fonts and pictures.
  DestroyHandle();
}

HWND TfrmHelp::AddFlatButton(const char* caption, int id, int top, HIMAGELIST picture) {
  HWND button = AddButton(caption, id, kFlatLeft, top, kFlatWidth, kFlatHeight);
  SetWindowLongPtrW(button, GWL_STYLE, GetWindowLongPtrW(button, GWL_STYLE) | BS_FLAT);
  SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont_.Get()), TRUE);
  if (picture != nullptr) SetButtonPicture(button, picture, 10);
  return button;
}

void TfrmHelp::OnClick(int id) {
  if (id == idFAQ) {
    presenter_.FaqClicked();
  } else if (id == idEmail) {
    presenter_.EmailClicked();
  } else {
    TTaskForm::OnClick(id);
  }
}

void TfrmHelp::Paint(HDC dc) {
  SetBkMode(dc, TRANSPARENT);
  // The left half a shade darker, the title upwards across it.
  RECT left{0, 0, kHalf, kClientHeight};
  FillRect(dc, &left, GetSysColorBrush(COLOR_3DSHADOW));
  TSelectObject select(dc, titleFont_.Get());
  SetTextColor(dc, RGB(255, 255, 255));
  const std::wstring title = WideText(kHelpTitle);
  SIZE size{};
  GetTextExtentPoint32W(dc, title.c_str(), static_cast<int>(title.size()), &size);
  // Turned text runs upwards from its starting point, the letters' tops on
  // its left edge: centred in the half, above the Back button.
  TextOutW(dc, (kHalf - size.cy) / 2, (kBottomButtonTop + size.cx) / 2, title.c_str(),
           static_cast<int>(title.size()));
}

}  // namespace tidewell
