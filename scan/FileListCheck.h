// The "Clear File List" category: a walk over every key of HKEY_LOCAL_MACHINE
// and HKEY_CURRENT_USER that reports each string value naming a local drive
// path that no longer exists.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "scan/FileReferences.h"
#include "scan/RegistryWork.h"
#include "scan/SharedKeyReads.h"

namespace tidewell {

// The walk cannot know how many keys a root holds, so its progress position
// runs within this fixed range and starts again from 0 when it reaches it.
constexpr std::int32_t kFileListProgressRange = 50000;

// Walks the key `path` of the engine's current root ("" is the root itself;
// deeper keys are "\A\B") and everything below it. Only the values of keys
// without subkeys are examined. Every failure is swallowed: one that stops the
// examination of a key's values costs only that key's remaining values. What
// the class checks kept of a key for the file list (the engine's SharedKeys)
// stands in for reading it, with the same events.
void ScanFileListKey(TRegistryCheckThread& engine, TFileReferences& refs,
                     const std::string& path);

// The file list's judgement of the values of the HKEY_LOCAL_MACHINE key
// `machinePath` (which has no subkeys), made ahead of the walk by a check
// that has read them, for the engine's SharedKeys; its file tests are
// made in the key's view, as the walk would make them. Nothing once a stop
// is asked for.
std::optional<TLeafExamination> ExamineLeafForFileList(
    TRegistryCheckThread& engine, TFileReferences& refs,
    const std::string& machinePath, const std::vector<TRegValue>& values);

// Both roots in turn, HKEY_LOCAL_MACHINE first; a stop between them leaves
// HKEY_CURRENT_USER unexamined.
void CheckFileList(TRegistryCheckThread& engine, TFileReferences& refs);

}  // namespace tidewell
