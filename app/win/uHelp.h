// TfrmHelp: the pointers to the product's support, a thin Win32 view of
// THelpPresenter. Left: the title "Help & Support" written upwards and
// "Back"; right: the flat buttons "Product FAQ" and "Support Email", each
// with its icon on the right and its address as the tooltip.
#pragma once

#include "app/AppServices.h"
#include "app/HelpPresenter.h"
#include "ui/win/GdiObject.h"
#include "ui/win/TaskForm.h"

namespace tidewell {

class TfrmHelp final : public TTaskForm {
 public:
  inline static constexpr int idFAQ = 202;
  inline static constexpr int idEmail = 203;

  TfrmHelp(HWND owner, TAppServices& services, const TWinResources& resources);
  ~TfrmHelp() override;

  HWND btnFAQ() const { return btnFAQ_; }
  HWND btnEmail() const { return btnEmail_; }

 protected:
  void OnClick(int id) override;
  void Paint(HDC dc) override;

 private:
  HWND AddFlatButton(const char* caption, int id, int top, HIMAGELIST picture);

  THelpPresenter presenter_;
  HWND btnFAQ_ = nullptr;
  HWND btnEmail_ = nullptr;
  TFont titleFont_;
  TFont buttonFont_;
  TImageList faqImage_;
  TImageList emailImage_;
};

}  // namespace tidewell
