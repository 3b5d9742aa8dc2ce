// TSettingsStore: the settings files of the windows for one run of the
// program. A window's file is read once, when the window is created at
// start-up; the window copies its values in each time it closes; every file
// is written when the program ends. Between those moments nothing touches the
// disk, so a file a person garbled is not overwritten until the program ends
// normally, and then with whole, well-formed content.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/AnsiCodePage.h"
#include "platform/FileSystem.h"
#include "settings/SettingsFile.h"

namespace tidewell {

class TSettingsStore {
 public:
  // The seams must outlive the store. `applicationFolder` ends with a
  // backslash.
  TSettingsStore(TFileSystem& fileSystem, TAnsiCodePage& codePage,
                 std::string applicationFolder);

  // The in-memory file `storeName` + ".ini" with its one section, read from
  // the disk the first time it is asked for. What cannot be read is left out,
  // so that the window keeps its defaults for it; ReadProblems says why.
  TSettingsFile& Open(const std::string& storeName, const std::string& section);

  // One line per file that could not be read whole at start-up.
  const std::vector<std::string>& ReadProblems() const { return readProblems_; }

  // Writes every opened file, each beside the old one and then over it, so
  // that a failure leaves the old file as it was. True when all were written;
  // otherwise `errors` holds one line per file that was not.
  bool SaveAll(std::vector<std::string>& errors);

 private:
  TFileSystem& fileSystem_;
  TAnsiCodePage& codePage_;
  std::string applicationFolder_;
  std::vector<std::unique_ptr<TSettingsFile>> files_;
  std::vector<std::string> readProblems_;
};

}  // namespace tidewell
