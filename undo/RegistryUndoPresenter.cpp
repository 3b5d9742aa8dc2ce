#include "undo/RegistryUndoPresenter.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "platform/TextTrim.h"
#include "undo/UndoFileLoader.h"
#include "undo/UndoFolder.h"
#include "undo/UndoRestore.h"

namespace tidewell {
namespace {

constexpr double kSecondsPerDay = 24.0 * 60 * 60;

bool EndsWithExactly(const std::string& text, const std::string& end) {
  return text.size() >= end.size() &&
         text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

std::string UndoFileGroupHint() {
  return "Select the correct undo file. They are named after the date and time of cleanups.\r\n"
         "For example 20051108102832 means:\r\n"
         "year 2005, month 11, day 08, hour 10, minute 28, second 32.\r\n"
         "\r\n"
         "To undo this cleanup tick one or more entries then click the \"Undo\" button.\r\n"
         "To permanently delete the undo file click the \"Delete\" button.";
}

std::string RestoreFailedText(std::size_t notRestored) {
  if (notRestored == 1) {
    return "1 ticked entry could not be restored. It is still ticked.";
  }
  return std::to_string(notRestored) +
         " ticked entries could not be restored. They are still ticked.";
}

int ClampColumnWidth(std::size_t column, int width) {
  const TUndoColumn& limits = kUndoColumns[column];
  return std::clamp(width, limits.MinWidth, limits.MaxWidth);
}

TRegistryUndoPresenter::TRegistryUndoPresenter(TRegistryUndoView& view,
                                               TRegistryUndoSystem system,
                                               TSettingsFile& settings,
                                               const std::string& applicationFolder)
    : view_(view),
      system_(std::move(system)),
      settings_(settings),
      applicationFolder_(applicationFolder) {}

void TRegistryUndoPresenter::Created() {
  deleteOldFiles_ = settings_.ReadBool(kDeleteOldFilesKey, true);
  olderThan_ = static_cast<int>(std::clamp<std::int64_t>(
      settings_.ReadInteger(kOlderThanKey, kOlderThanDefault), kOlderThanMin, kOlderThanMax));
  const std::vector<std::int64_t> stored = settings_.ReadIntegerList(kColumnWidthsKey, {});
  std::vector<int> widths;
  for (std::size_t i = 0; i < std::size(kUndoColumns); ++i) {
    // A list of another length is not this window's: keep the defaults.
    const std::int64_t width = stored.size() == std::size(kUndoColumns)
                                   ? stored[i]
                                   : kUndoColumns[i].Width;
    widths.push_back(ClampColumnWidth(
        i, static_cast<int>(std::clamp<std::int64_t>(width, 0, 1 << 20))));
  }
  view_.ShowDeleteOldFiles(deleteOldFiles_, olderThan_);
  view_.ShowColumnWidths(widths);
}

void TRegistryUndoPresenter::Shown() {
  view_.SetBackEnabled(true);
  InitUndoSection();
  ShowFileGroup();
  if (!entries_.empty()) SetAllTicks(true);
  UpdateUndoEnabled();
  view_.ShowStatus(kUndoReadyText);
}

void TRegistryUndoPresenter::FilePicked(int index) {
  picked_ = index >= 0 && index < static_cast<int>(files_.size()) ? index : -1;
  InitUndoSection();
}

void TRegistryUndoPresenter::RowTicked(std::size_t row, bool ticked) {
  if (row >= entries_.size()) return;
  entries_[row].Ticked = ticked;
  UpdateUndoEnabled();
}

void TRegistryUndoPresenter::TickAll() { SetAllTicks(true); }

void TRegistryUndoPresenter::TickNone() { SetAllTicks(false); }

void TRegistryUndoPresenter::UndoClicked() {
  bool restored = false;
  try {
    restored = RestoreUndo(system_.Registry, system_.CodePage, entries_);
  } catch (const std::exception&) {
    restored = false;
  }
  for (std::size_t row = 0; row < entries_.size(); ++row) {
    view_.ShowTick(row, entries_[row].Ticked);
  }
  UpdateUndoEnabled();
  if (!restored) {
    // The user must know that the registry is not as the file had it.
    const auto left = static_cast<std::size_t>(
        std::count_if(entries_.begin(), entries_.end(),
                      [](const TUndoEntry& entry) { return entry.Ticked; }));
    view_.ShowError(RestoreFailedText(left), true);
    return;
  }
  view_.ShowStatus(kUndoRestoredText);
  if (view_.Confirm(kRestartQuestion)) system_.Restart();
}

void TRegistryUndoPresenter::DeleteClicked() {
  if (!files_.empty() && picked_ >= 0 && view_.Confirm(kDeleteUndoFileQuestion)) {
    const std::string path = UndoFilePath(applicationFolder_, files_[picked_]);
    if (system_.FileSystem.RemoveFile(path)) {
      view_.ShowStatus(kUndoDeletedText);
      InitUndoSection();
    } else {
      // The run's own file among others: the writer holds it open.
      view_.ShowError(kDeleteUndoFileFailed, true);
    }
  }
  if (files_.empty()) ShowFileGroup();
}

void TRegistryUndoPresenter::DeleteOldFilesClicked(bool ticked) {
  deleteOldFiles_ = ticked;
  view_.ShowDeleteOldFiles(deleteOldFiles_, olderThan_);
}

void TRegistryUndoPresenter::OlderThanChanged(int days) {
  olderThan_ = std::clamp(days, kOlderThanMin, kOlderThanMax);
}

void TRegistryUndoPresenter::RowDoubleClicked(int row) {
  if (row < 0 || row >= static_cast<int>(entries_.size())) {
    view_.ShowError(kSelectEntryFirst, false);
    return;
  }
  const TUndoEntry& entry = entries_[static_cast<std::size_t>(row)];
  const std::string key = TrimText(entry.Key);
  if (key.empty()) return;
  view_.OpenRegistryEditor(key, ValueNameOfLine(entry.Line));
}

void TRegistryUndoPresenter::BackClicked() { view_.Close(); }

void TRegistryUndoPresenter::Closed() {
  entries_.clear();
  view_.ShowEntries(entries_);
  StoreSettings();
}

void TRegistryUndoPresenter::StoreSettings() {
  // Kept within the limits however the columns were dragged.
  std::vector<std::int64_t> widths;
  const std::vector<int> shown = view_.ColumnWidths();
  for (std::size_t i = 0; i < shown.size() && i < std::size(kUndoColumns); ++i) {
    widths.push_back(ClampColumnWidth(i, shown[i]));
  }
  settings_.WriteIntegerList(kColumnWidthsKey, widths);
  settings_.WriteBool(kDeleteOldFilesKey, deleteOldFiles_);
  settings_.WriteInteger(kOlderThanKey, olderThan_);
}

void TRegistryUndoPresenter::InitUndoSection() {
  LoadRestoreFiles();
  LoadCurrentReg();
}

void TRegistryUndoPresenter::LoadRestoreFiles() {
  const int remembered = picked_;
  files_.clear();
  const std::string folder = UndoFolderOf(applicationFolder_);
  std::vector<TFileInfo> found = system_.FileSystem.ListFolder(folder);
  // Time-stamp names in name order are oldest first, whatever order the
  // file system lists them in; the last one is then the newest.
  std::sort(found.begin(), found.end(),
            [](const TFileInfo& a, const TFileInfo& b) { return a.Name < b.Name; });
  const std::int64_t now = system_.Now();
  for (const TFileInfo& file : found) {
    if (file.IsDirectory || !IsUndoFileName(file.Name)) continue;
    const double ageInDays = static_cast<double>(now - file.ModifiedTime) / kSecondsPerDay;
    if (deleteOldFiles_ && ageInDays > olderThan_) {
      // One that cannot be deleted stays, unlisted and unmentioned.
      system_.FileSystem.RemoveFile(folder + "\\" + file.Name);
      continue;
    }
    if (EndsWithExactly(file.Name, ".reg")) files_.push_back(file.Name);
  }
  const int count = static_cast<int>(files_.size());
  picked_ = remembered >= 0 && remembered < count ? remembered : count - 1;
  view_.ShowFiles(files_, picked_);
}

void TRegistryUndoPresenter::LoadCurrentReg() {
  if (files_.empty()) {
    entries_.clear();
    view_.ShowEntries(entries_);
    UpdateUndoEnabled();
    return;
  }
  if (picked_ < 0) return;
  try {
    entries_ = LoadUndoEntries(system_.Writer, system_.FileSystem, system_.CodePage,
                               applicationFolder_, files_[static_cast<std::size_t>(picked_)]);
  } catch (const EUndoFileError& error) {
    // The list keeps what it showed.
    view_.ShowError(error.what(), true);
    return;
  }
  view_.ShowEntries(entries_);
  UpdateUndoEnabled();
}

void TRegistryUndoPresenter::ShowFileGroup() {
  view_.SetPickedFileGroupVisible(!files_.empty());
  view_.SetTickEnabled(!files_.empty());
}

void TRegistryUndoPresenter::UpdateUndoEnabled() {
  view_.SetUndoEnabled(std::any_of(entries_.begin(), entries_.end(),
                                   [](const TUndoEntry& entry) { return entry.Ticked; }));
}

void TRegistryUndoPresenter::SetAllTicks(bool ticked) {
  for (std::size_t row = 0; row < entries_.size(); ++row) {
    entries_[row].Ticked = ticked;
    view_.ShowTick(row, ticked);
  }
  UpdateUndoEnabled();
}

}  // namespace tidewell
