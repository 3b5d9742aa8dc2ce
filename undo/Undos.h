// TRegUndoFile: the one undo writer of a program run. Before the scan engine
// deletes anything it hands every chosen key or value to AddEntry, which
// records it in the run's undo file: a REGEDIT4 text file in the restore
// folder that the undo window, and the system registry editor, can read back.
//
// The file is started on the first entry of the run and stays open, without
// sharing, until the writer is destroyed. Every value is recorded with its
// type and its data unchanged, in the registry editor's own notation:
//
//   "Name"="text"            REG_SZ without line breaks or inner NULs
//   "Name"=dword:0000001A    REG_DWORD of four bytes
//   "Name"=hex:01,02         REG_BINARY
//   "Name"=hex(2):25,00      every other type; for REG_SZ, REG_EXPAND_SZ and
//                            REG_MULTI_SZ the bytes are the text in the ANSI
//                            code page, terminating zeros included
//
// An entry is recorded whole or not at all: when any part of it cannot be read
// or cannot be held by the ANSI code page, nothing of it reaches the file and
// AddEntry returns false, so that the caller does not delete what it could
// not take back.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/AnsiCodePage.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "registry/Registry.h"
#include "registry/RegistryStore.h"
#include "registry/RegistryTypes.h"
#include "undo/UndoRecorder.h"

namespace tidewell {

// The undo file could not be started, written or flushed.
class EUndoFileError : public std::runtime_error {
 public:
  explicit EUndoFileError(const std::string& message)
      : std::runtime_error(message) {}
};

// The time-stamp name of undo files and registry backups: year, month, day,
// hour, minute and second as "%d%.2d%.2d%.2d%.2d%.2d", then ".reg".
std::string TimeStampFileName(const TLocalDateTime& when);

class TRegUndoFile : public TUndoRecorder {
 public:
  // `applicationFolder` ends with a backslash; `productName` is the program's
  // ProductName from its version information, shown in the header. Every
  // reference must outlive the writer.
  TRegUndoFile(RegistryStore& store, TFileSystem& fileSystem, TClock& clock,
               TAnsiCodePage& codePage, std::string applicationFolder,
               std::string productName);
  ~TRegUndoFile() override;
  TRegUndoFile(const TRegUndoFile&) = delete;
  TRegUndoFile& operator=(const TRegUndoFile&) = delete;

  // Records one key with its whole tree (empty valueName) or one value, and
  // writes the new lines to the file. Starts the file first when the run has
  // none yet. False when nothing was recorded: the key or value is gone, or it
  // could not be recorded in full. Throws EUndoFileError when the file cannot
  // be started or the lines cannot be written; the lines are then not kept.
  bool AddEntry(TRootKey root, const std::string& keyPath,
                const std::string& valueName) override;
  // Forces everything written so far to the disk; throws EUndoFileError when
  // that fails. Nothing to do while no file is started.
  void Flush() override;

  // Append the whole-key form (the key, its values, then each subkey depth
  // first) or the single-value form to Lines, without touching the file.
  // False, with Lines as before, when the key or value does not exist or when
  // the entry could not be recorded in full.
  bool ExportKey(TRootKey root, const std::string& keyPath);
  bool ExportValue(TRootKey root, const std::string& keyPath,
                   const std::string& valueName);

  // The name for a file started now, without folder.
  std::string TimeStampFileName();
  // Starts the run's file in ApplicationFolder + "restore", creating the
  // folder when it is missing. A file given up earlier in the run is never
  // taken again: the name then gets "-2", "-3", ... before ".reg".
  void StartUndoFile();
  // Appends to an existing file of that name (shared, no header), or creates
  // it (exclusive) with the seven header lines. FileName takes the name only
  // once the file is open; failures throw EUndoFileError.
  void OpenUndoFile(const std::string& fileName);

  // Full path of the run's file; empty until it is started.
  const std::string& FileName() const { return fileName_; }
  // Every line of the run's file, header included, in file order (UTF-8,
  // without line ends). The file on disk holds exactly these lines.
  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  // Writes lines[from..] with their CR LF to the open file; throws
  // EUndoFileError when the file does not take all of it. The file is then
  // cut back to what it held before, so that it holds whole entries only;
  // when even that fails it is given up (AbandonFile).
  void WriteText(const std::vector<std::string>& lines, std::size_t from,
                 const std::string& fileName);
  // Closes a file that may end in part of an entry and forgets it: the next
  // entry starts a new file, never this one.
  void AbandonFile(const std::string& fileName);

  TRegistry registry_;
  TFileSystem& fileSystem_;
  TClock& clock_;
  TAnsiCodePage& codePage_;
  std::string applicationFolder_;
  std::string productName_;
  std::vector<std::string> lines_;
  std::unique_ptr<TWritableFile> file_;
  std::string fileName_;
  // Bytes the open file holds: where a failed write cuts it back to.
  std::uint64_t fileSize_ = 0;
  // Full paths of files given up in this run.
  std::vector<std::string> abandoned_;
};

}  // namespace tidewell
