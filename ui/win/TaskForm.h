// A task window: 580 by 364 client pixels, a "Back" button that closes it, and
// nothing else yet; each task's own controls come with its window unit.
// Created once at start, shown modally by the launcher, hidden when closed.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "ui/win/Form.h"
#include "ui/win/GdiObject.h"
#include "ui/win/WinResources.h"

namespace tidewell {

class TTaskForm : public TForm {
 public:
  inline static constexpr int kClientWidth = 580;
  inline static constexpr int kClientHeight = 364;
  inline static constexpr int idBack = 201;

  ~TTaskForm() override;
  HWND btnBack() const { return btnBack_; }
  // Copies the window's values into the run's settings store; the program
  // calls it for every window at its end, just before the files are
  // written. Windows without settings have none.
  virtual void StoreSettings() {}

 protected:
  // `centreOnOwner`: opened over the main window, otherwise in the centre of
  // the screen.
  TTaskForm(const char* className, const std::string& caption, HWND owner,
            const TWinResources& resources, bool centreOnOwner);

  void OnClick(int id) override;
  // Centres the window again: the main window may have moved since.
  void BeforeShow() override;
  // The "Back" button; closes the window.
  virtual void btnBackClick();

  // Puts the window where a settings file says it stood; it is then no
  // longer centred when shown.
  void RestorePlacement(const std::array<std::int64_t, 10>& placement);

  // Where the left-hand buttons stand, top to bottom.
  static constexpr int kButtonLeft = 16;
  static constexpr int kButtonWidth = 100;
  static constexpr int kButtonHeight = 28;
  static constexpr int kBottomButtonTop = kClientHeight - 16 - kButtonHeight;

 private:
  // Centres the window over its owner or on the screen.
  void Centre();

  bool centreOnOwner_;
  bool placed_ = false;
  HWND btnBack_ = nullptr;
  TImageList backImage_;
};

}  // namespace tidewell
