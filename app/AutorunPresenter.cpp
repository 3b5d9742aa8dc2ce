#include "app/AutorunPresenter.h"

#include "app/RunMode.h"

namespace tidewell {

namespace {

constexpr int kItemCount = 3;

bool IsItemIndex(std::int64_t index) { return index >= 0 && index < kItemCount; }

}  // namespace

TExitWinAction ExitWinActionOf(TAutorunCompletion completion) {
  switch (completion) {
    case TAutorunCompletion::Restart: return TExitWinAction::Restart;
    case TAutorunCompletion::ShutDown: return TExitWinAction::ShutDown;
    case TAutorunCompletion::PowerOff: return TExitWinAction::PowerOff;
  }
  return TExitWinAction::Restart;
}

const std::vector<TAutorunTextRun>& AutorunDescription() {
  static const std::vector<TAutorunTextRun> runs = {
      {"Select To Do tasks, choose an action to be taken when tasks are completed and "
       "click the ",
       false},
      {"Run", true},
      {" button.\n\nThis will then perform the selected tasks without your intervention.",
       false},
  };
  return runs;
}

TAutorunPresenter::TAutorunPresenter(TAutorunView& view, std::string& runMode,
                                     TSettingsFile& settings)
    : view_(view), runMode_(runMode), settings_(settings) {}

void TAutorunPresenter::Created() {
  const std::int64_t tasks = settings_.ReadInteger(kTasksSettingName, 0);
  const std::int64_t completion = settings_.ReadInteger(kOnCompletionSettingName, 0);
  if (IsItemIndex(tasks)) choice_.Tasks = static_cast<TAutorunTasks>(tasks);
  if (IsItemIndex(completion)) {
    choice_.OnCompletion = static_cast<TAutorunCompletion>(completion);
  }
  view_.ShowTasks(static_cast<int>(choice_.Tasks));
  view_.ShowOnCompletion(static_cast<int>(choice_.OnCompletion));
}

void TAutorunPresenter::TasksClicked(int itemIndex) {
  if (IsItemIndex(itemIndex)) choice_.Tasks = static_cast<TAutorunTasks>(itemIndex);
}

void TAutorunPresenter::OnCompletionClicked(int itemIndex) {
  if (IsItemIndex(itemIndex)) {
    choice_.OnCompletion = static_cast<TAutorunCompletion>(itemIndex);
  }
}

void TAutorunPresenter::BackClicked() {
  runMode_.clear();
  Close();
}

void TAutorunPresenter::RunClicked() {
  runMode_ = kRunModeAutorun;
  Close();
}

void TAutorunPresenter::CloseRequested() { Close(); }

void TAutorunPresenter::StoreSettings() {
  // Exactly the window's two lines, in this order, whatever the file held.
  settings_.Clear();
  settings_.WriteInteger(kTasksSettingName, static_cast<int>(choice_.Tasks));
  settings_.WriteInteger(kOnCompletionSettingName, static_cast<int>(choice_.OnCompletion));
}

void TAutorunPresenter::Close() {
  StoreSettings();
  view_.CloseWindow();
}

}  // namespace tidewell
