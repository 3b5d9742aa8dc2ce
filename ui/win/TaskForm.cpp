#include "ui/win/TaskForm.h"

#include "ui/win/SharedImages.h"
#include "ui/win/WindowPlacement.h"

namespace tidewell {

TTaskForm::TTaskForm(const char* className, const std::string& caption,
                     HWND owner, const TWinResources& resources,
                     bool centreOnOwner)
    : TForm(className, caption, owner, kClientWidth, kClientHeight),
      centreOnOwner_(centreOnOwner) {
  btnBack_ = AddButton("Back", idBack, kButtonLeft, kBottomButtonTop,
                       kButtonWidth, kButtonHeight);
  if (resources.ImageList1 != nullptr) {
    backImage_.Reset(SingleImage(resources.ImageList1, imgBack));
    SetButtonPicture(btnBack_, backImage_.Get());
  }
  // Not BeforeShow: a virtual call from here would never reach a window's
  // own override.
  Centre();
}

TTaskForm::~TTaskForm() {
  // The button goes before the pictures it shows.
  DestroyHandle();
}

void TTaskForm::BeforeShow() {
  if (!placed_) Centre();
}

void TTaskForm::RestorePlacement(const std::array<std::int64_t, 10>& placement) {
  PlaceWindow(Handle(), placement);
  placed_ = true;
}

void TTaskForm::Centre() {
  CentreOn(centreOnOwner_ ? GetWindow(Handle(), GW_OWNER) : nullptr);
}

void TTaskForm::OnClick(int id) {
  if (id == idBack) btnBackClick();
}

void TTaskForm::btnBackClick() { CloseModal(mrCancel); }

}  // namespace tidewell
