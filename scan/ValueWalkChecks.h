// The software checks that walk the values of fixed keys below
// HKEY_LOCAL_MACHINE: shared DLL counters, start-up commands, help files and
// fonts. Each reports through the engine every value whose file is missing.
//
// Status: every fifth entry (0, 5, 10, ...) names the value being examined.
// Progress: ProgressMax is the number of values of the key being walked, and
// the position is the index of the entry just examined. A stop request ends a
// check after the current entry.
//
// Only the shared DLL check survives a value it cannot read (it ends, the scan
// goes on); for the others such a failure ends the whole scan.
#pragma once

#include "scan/FileReferences.h"
#include "scan/RegistryWork.h"

namespace tidewell {

// Value name: a shared file; data: how many programs use it. A missing file,
// or an existing one that no program uses any more (a count below 1).
void CheckSharedDLLs(TRegistryCheckThread& engine, TFileReferences& refs);
// Value data: a command run at log-on. An empty command, or one whose program
// (or, through rundll32, library) is missing.
void CheckStartupRun(TRegistryCheckThread& engine, TFileReferences& refs);
// Value name: a help file; data: its folder. HTML help first, then help.
void CheckHelpFiles(TRegistryCheckThread& engine, TFileReferences& refs);
// Value name: a font's display name; data: its file. The Windows NT list
// first, then the Windows one.
void CheckFonts(TRegistryCheckThread& engine, TFileReferences& refs);

// The folder a help file value names, ending in a backslash; empty when the
// data names no folder (empty, or nothing but quotes), so that the file is
// looked for by its bare name.
std::string HelpFolder(const std::string& data);

}  // namespace tidewell
