// The "Clear File List" category: a walk over every key of HKEY_LOCAL_MACHINE
// and HKEY_CURRENT_USER that reports each string value naming a local drive
// path that no longer exists.
#pragma once

#include <cstdint>
#include <string>

#include "scan/FileReferences.h"
#include "scan/RegistryWork.h"

namespace tidewell {

// The walk cannot know how many keys a root holds, so its progress position
// runs within this fixed range and starts again from 0 when it reaches it.
constexpr std::int32_t kFileListProgressRange = 50000;

// Walks the key `path` of the engine's current root ("" is the root itself;
// deeper keys are "\A\B") and everything below it. Only the values of keys
// without subkeys are examined. Every failure is swallowed: one that stops the
// examination of a key's values costs only that key's remaining values.
void ScanFileListKey(TRegistryCheckThread& engine, TFileReferences& refs,
                     const std::string& path);

// Both roots in turn, HKEY_LOCAL_MACHINE first; a stop between them leaves
// HKEY_CURRENT_USER unexamined.
void CheckFileList(TRegistryCheckThread& engine, TFileReferences& refs);

}  // namespace tidewell
