// A task window: 580 by 364 client pixels, a "Back" button that closes it, and
// nothing else yet; each task's own controls come with its window unit.
// Created once at start, shown modally by the launcher, hidden when closed.
#pragma once

#include <string>

#include "app/AppServices.h"
#include "app/Form.h"

namespace tidewell {

class TTaskForm : public TForm {
 public:
  inline static constexpr int kClientWidth = 580;
  inline static constexpr int kClientHeight = 364;
  inline static constexpr int idBack = 201;

  ~TTaskForm() override;
  HWND btnBack() const { return btnBack_; }

 protected:
  // `centreOnOwner`: opened over the main window, otherwise in the centre of
  // the screen.
  TTaskForm(const char* className, const std::string& caption, HWND owner,
            TAppServices& services, bool centreOnOwner);

  void OnClick(int id) override;
  // Centres the window again: the main window may have moved since.
  void BeforeShow() override;
  // The "Back" button; closes the window.
  virtual void btnBackClick();

  TAppServices& Services() { return services_; }
  // Where the left-hand buttons stand, top to bottom.
  static constexpr int kButtonLeft = 16;
  static constexpr int kButtonWidth = 100;
  static constexpr int kButtonHeight = 28;
  static constexpr int kBottomButtonTop = kClientHeight - 16 - kButtonHeight;

 private:
  TAppServices& services_;
  bool centreOnOwner_;
  HWND btnBack_ = nullptr;
  HIMAGELIST backImage_ = nullptr;
};

}  // namespace tidewell
