#include "app/HelpPresenter.h"

#include "app/SupportAddresses.h"

namespace tidewell {

std::string THelpPresenter::FaqTarget() { return kProductFaqAddress; }

std::string THelpPresenter::EmailTarget() {
  return std::string("mailto:") + kSupportEmailAddress;
}

std::string THelpPresenter::FaqToolTip() { return kProductFaqAddress; }

std::string THelpPresenter::EmailToolTip() { return kSupportEmailAddress; }

void THelpPresenter::FaqClicked() { shell_.OpenDocument(FaqTarget(), ""); }

void THelpPresenter::EmailClicked() { shell_.OpenDocument(EmailTarget(), ""); }

}  // namespace tidewell
