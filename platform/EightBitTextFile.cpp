#include "platform/EightBitTextFile.h"

namespace tidewell {

TEightBitRead ReadEightBitFile(TFileSystem& fileSystem, const std::string& path,
                               std::string& bytes) {
  if (!fileSystem.FileExists(path)) return TEightBitRead::Missing;
  if (!fileSystem.ReadWholeFile(path, bytes)) return TEightBitRead::Unreadable;
  if (bytes.find('\0') != std::string::npos) return TEightBitRead::NotEightBit;
  return TEightBitRead::Read;
}

}  // namespace tidewell
