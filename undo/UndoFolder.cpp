#include "undo/UndoFolder.h"

#include "platform/EightBitTextFile.h"
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
  switch (ReadEightBitFile(fileSystem, path, bytes)) {
    case TEightBitRead::Missing:
    case TEightBitRead::Unreadable:
      throw EUndoFileError("the undo file " + path + " cannot be read");
    case TEightBitRead::NotEightBit:
      throw EUndoFileError(path + " is not an undo file (it is not 8-bit text)");
    case TEightBitRead::Read:
      break;
  }
  return ParseUndoEntries(SplitUndoFileLines(codePage.ToUtf8(bytes)));
}

}  // namespace tidewell
