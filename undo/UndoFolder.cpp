#include "undo/UndoFolder.h"

#include "platform/TextEncoding.h"
#include "undo/Undos.h"

namespace tidewell {

std::string UndoFolderOf(const std::string& applicationFolder) {
  return applicationFolder + "restore";
}

std::string UndoFilePath(const std::string& applicationFolder,
                         const std::string& name) {
  return UndoFolderOf(applicationFolder) + "\\" + name;
}

bool IsUndoFileName(const std::string& name) {
  return name.size() > 4 && NamesEqual(name.substr(name.size() - 4), ".reg");
}

std::vector<TUndoEntry> ReadUndoFile(TFileSystem& fileSystem,
                                     TAnsiCodePage& codePage,
                                     const std::string& path) {
  std::string bytes;
  if (!fileSystem.ReadWholeFile(path, bytes)) {
    throw EUndoFileError("the undo file " + path + " cannot be read");
  }
  if (bytes.find('\0') != std::string::npos) {
    throw EUndoFileError(path + " is not an undo file (it is not 8-bit text)");
  }
  return ParseUndoEntries(SplitUndoFileLines(codePage.ToUtf8(bytes)));
}

}  // namespace tidewell
