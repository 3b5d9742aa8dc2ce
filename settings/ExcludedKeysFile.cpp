#include "settings/ExcludedKeysFile.h"

#include "settings/WholeFileWrite.h"
#include "platform/EightBitTextFile.h"
#include "platform/TextLines.h"

namespace tidewell {

std::string ExcludedKeysPath(const std::string& applicationFolder) {
  return applicationFolder + kExcludedKeysFileName;
}

std::vector<std::string> SplitExcludedKeys(const std::string& text) {
  return SplitTextLines(text);
}

std::string JoinExcludedKeys(const std::vector<std::string>& entries) {
  std::string text;
  for (const std::string& entry : entries) text += entry + "\r\n";
  return text;
}

bool LoadExcludedKeys(TFileSystem& fileSystem, TAnsiCodePage& codePage,
                      const std::string& path, std::vector<std::string>& entries,
                      std::string& error) {
  entries.clear();
  std::string bytes;
  switch (ReadEightBitFile(fileSystem, path, bytes)) {
    case TEightBitRead::Missing:
      return true;
    case TEightBitRead::Unreadable:
      error = path + " cannot be read";
      return false;
    case TEightBitRead::NotEightBit:
      // A list saved as UTF-16 would match nothing while looking right in an
      // editor; better to say so than to hide nothing silently.
      error = path + " is not 8-bit text (saved as Unicode?); save it as ANSI text";
      return false;
    case TEightBitRead::Read:
      break;
  }
  entries = SplitExcludedKeys(codePage.ToUtf8(bytes));
  return true;
}

bool SaveExcludedKeys(TFileSystem& fileSystem, TAnsiCodePage& codePage,
                      const std::string& path,
                      const std::vector<std::string>& entries, std::string& error) {
  std::string bytes;
  if (!codePage.FromUtf8(JoinExcludedKeys(entries), bytes)) {
    error = path + ": an entry holds a character the code page cannot write";
    return false;
  }
  return WriteFileWhole(fileSystem, path, bytes, error);
}

}  // namespace tidewell
