#include "app/TaskForm.h"

namespace tidewell {

TTaskForm::TTaskForm(const char* className, const std::string& caption,
                     HWND owner, TAppServices& services, bool centreOnOwner)
    : TForm(className, caption, owner, kClientWidth, kClientHeight),
      services_(services),
      centreOnOwner_(centreOnOwner) {
  btnBack_ = AddButton("Back", idBack, kButtonLeft, kBottomButtonTop,
                       kButtonWidth, kButtonHeight);
  if (services_.ImageList1 != nullptr) {
    // Image 5 of the shared list is the back arrow.
    backImage_ = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 0);
    HICON back = ImageList_GetIcon(services_.ImageList1, 5, ILD_NORMAL);
    ImageList_AddIcon(backImage_, back);
    DestroyIcon(back);
    BUTTON_IMAGELIST images{};
    images.himl = backImage_;
    images.uAlign = BUTTON_IMAGELIST_ALIGN_RIGHT;
    images.margin = {4, 0, 6, 0};
    SendMessageW(btnBack_, BCM_SETIMAGELIST, 0,
                 reinterpret_cast<LPARAM>(&images));
  }
  BeforeShow();
}

TTaskForm::~TTaskForm() {
  DestroyHandle();
  if (backImage_ != nullptr) ImageList_Destroy(backImage_);
}

void TTaskForm::BeforeShow() {
  CentreOn(centreOnOwner_ ? GetWindow(Handle(), GW_OWNER) : nullptr);
}

void TTaskForm::OnClick(int id) {
  if (id == idBack) btnBackClick();
}

void TTaskForm::btnBackClick() { CloseModal(mrCancel); }

}  // namespace tidewell
