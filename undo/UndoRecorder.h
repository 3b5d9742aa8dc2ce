// What the scan engine needs of the undo writer: record one key or value before
// it is deleted, and make sure everything recorded has reached the disk.
#pragma once

#include <string>

#include "registry/RegistryTypes.h"

namespace tidewell {

class TUndoRecorder {
 public:
  virtual ~TUndoRecorder() = default;
  // Records the whole key (empty valueName) or one value. False when nothing
  // could be recorded in full; the caller must then not delete that entry.
  // Throws when the undo file itself cannot be started or written.
  virtual bool AddEntry(TRootKey root, const std::string& keyPath,
                        const std::string& valueName) = 0;
  // Forces the file to disk; throws when that fails.
  virtual void Flush() = 0;
};

}  // namespace tidewell
