// The logic of the help window: its texts, and the two buttons that hand the
// product's FAQ page and a new mail to the support address to the programs
// the system has registered for them. The Win32 window (TfrmHelp) is a view
// of it.
#pragma once

#include <string>

#include "platform/Shell.h"

namespace tidewell {

inline constexpr const char* kHelpCaption = "Help";
// Written vertically in the left half.
inline constexpr const char* kHelpTitle = "Help & Support";
// The trailing spaces line the FAQ button's icon up with the other one's.
inline constexpr const char* kFaqButtonCaption = "Product FAQ   ";
inline constexpr const char* kEmailButtonCaption = "Support Email";

class THelpPresenter {
 public:
  // The shell must outlive the presenter.
  explicit THelpPresenter(TShell& shell) : shell_(shell) {}

  // What each button opens, also its tooltip text.
  static std::string FaqTarget();
  static std::string EmailTarget();  // "mailto:" and the address
  static std::string FaqToolTip();
  static std::string EmailToolTip();

  // Nothing is reported when no browser or mail program could be started:
  // the tooltips show the addresses for a person to use by hand.
  void FaqClicked();
  void EmailClicked();

 private:
  TShell& shell_;
};

}  // namespace tidewell
