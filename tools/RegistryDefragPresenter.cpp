#include "tools/RegistryDefragPresenter.h"

#include <cstdint>
#include <exception>
#include <utility>

namespace tidewell {

std::vector<std::vector<TTextRun>> RegistryDefragInstructions() {
  using S = TTextRun::TStyle;
  return {
      {{"After registry cleanup you should compress the registry, since removing invalid "
        "entries from the registry leaves empty spaces. This will speed up your computer "
        "considerably.",
        S::Plain}},
      {{"Before defragmenting the registry make sure that all of your programs are closed.",
        S::Plain}},
      {{"After defragmentation your computer must be rebooted.", S::Plain}},
      {{"To start registry defragmentation click the ", S::Plain},
       {"Run", S::RunWord},
       {" button.", S::Plain}},
  };
}

std::string CurrentSizeText(std::uint64_t oldSize) {
  // Whole kilobytes, digits only; nothing at all would read as a fault, so
  // an empty registry shows 0.
  return "Current registry size: " + std::to_string(oldSize / 1024) + " KB";
}

std::string RatioText(std::uint64_t newSize, std::uint64_t oldSize,
                      const std::string& decimalSeparator) {
  if (oldSize == 0) return "n/a";
  // Tenths of a percent, rounded half up, in integers: no binary fractions on
  // the way. Sizes beyond what 64 bits can scale lose their low bits first.
  while (newSize > (UINT64_MAX - oldSize) / 2000 || oldSize > UINT64_MAX / 2) {
    newSize >>= 1;
    oldSize >>= 1;
  }
  if (oldSize == 0) return "n/a";
  const std::uint64_t tenths = (newSize * 2000 + oldSize) / (2 * oldSize);
  const std::uint64_t whole = tenths / 10;
  const std::uint64_t fraction = tenths % 10;
  if (tenths == 0) return "0";
  std::string text = whole == 0 ? std::string() : std::to_string(whole);
  if (fraction != 0) text += decimalSeparator + std::to_string(fraction);
  return text;
}

std::string DoneText(std::uint64_t newSize, std::uint64_t oldSize,
                     const std::string& decimalSeparator,
                     const std::vector<std::string>& refused) {
  std::string text = "Done! Ratio: " + RatioText(newSize, oldSize, decimalSeparator);
  if (oldSize != 0) text += " %";
  if (!refused.empty()) {
    text += " - not replaced, saved file too small: ";
    for (std::size_t i = 0; i < refused.size(); ++i) {
      if (i > 0) text += ", ";
      text += refused[i];
    }
  }
  return text;
}

TRegistryDefragPresenter::TRegistryDefragPresenter(
    TRegistryDefragView& view, TRegistryDefrag& defrag, std::function<void()> restart,
    std::function<bool()> autoMode, std::function<std::string()> decimalSeparator)
    : view_(view),
      defrag_(defrag),
      restart_(std::move(restart)),
      autoMode_(std::move(autoMode)),
      decimalSeparator_(std::move(decimalSeparator)) {}

void TRegistryDefragPresenter::Shown() {
  runEnabled_ = true;
  failed_ = false;
  view_.SetRunEnabled(true);
  view_.SetBackEnabled(true);
  view_.ShowProgress(false);
  defrag_.ClearSavedFlags();
  view_.ChangeStatus(kStatusImageIdle, CurrentSizeText(defrag_.OldSize()));
  if (autoMode_()) view_.StartAfterShowTimer();
}

void TRegistryDefragPresenter::AfterShowTimer() {
  view_.StopAfterShowTimer();
  if (view_.IsVisible()) RunClicked();
}

void TRegistryDefragPresenter::RunClicked() {
  // One run per showing.
  if (!runEnabled_) return;
  runEnabled_ = false;
  view_.ChangeStatus(kStatusImageWorking, kDefragWorkingText);
  view_.SetProgress(0);
  view_.SetRunEnabled(false);
  view_.SetBackEnabled(false);
  view_.ShowProgress(true);

  const auto progress = [this](int value) { view_.SetProgress(value); };
  TDefragOutcome outcome = TDefragOutcome::NoAccess;
  bool scheduled = false;
  try {
    outcome = defrag_.Defrag(progress);
    if (outcome == TDefragOutcome::Saved) scheduled = defrag_.ReplaceRegistry(progress);
  } catch (const std::exception&) {
    // Failures stay inside the window; the run ends as one that saved nothing.
  }

  const bool autoMode = autoMode_();
  switch (outcome) {
    case TDefragOutcome::NoAccess:
      failed_ = true;
      view_.ShowMessage(kDefragNoAccessText);
      // Nothing happened: the window is as it was before the click.
      runEnabled_ = true;
      view_.SetRunEnabled(true);
      view_.ChangeStatus(kStatusImageIdle, CurrentSizeText(defrag_.OldSize()));
      break;
    case TDefragOutcome::ReplacementPending:
      view_.ChangeStatus(kStatusImageIdle, kDefragPendingText);
      break;
    case TDefragOutcome::Saved:
      failed_ = !scheduled;
      view_.ChangeStatus(kStatusImageIdle,
                         DoneText(defrag_.NewSize(), defrag_.OldSize(), decimalSeparator_(),
                                  defrag_.Refused()));
      break;
  }
  view_.SetBackEnabled(true);
  view_.SetProgress(0);
  view_.ShowProgress(false);

  if (autoMode) {
    view_.Close();
  } else if (outcome == TDefragOutcome::Saved && view_.AskYesNo(kDefragRestartQuestion)) {
    restart_();
  }
}

void TRegistryDefragPresenter::BackClicked() { view_.Close(); }

}  // namespace tidewell
