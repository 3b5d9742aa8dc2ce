// Text rules shared by the file-reference routines: trimming and casing the
// way registry texts are cleaned, drive marks and folder parts, and the
// routines that work on the text alone (no file system, no folder set).
#pragma once

#include <string>

#include "platform/TextTrim.h"

namespace tidewell {

// Lower-cases the letters A to Z only.
std::string LowerAscii(const std::string& text);
// Every occurrence of `pattern` (ASCII, letter case ignored) replaced; the
// replacement itself is not searched again. `firstOnly` stops after one.
std::string ReplaceIgnoringCase(const std::string& text,
                                const std::string& pattern,
                                const std::string& replacement,
                                bool firstOnly = false);

// Position of the first drive mark (a colon followed by a backslash) at or
// after `from`; npos when there is none.
std::size_t FindDriveMark(const std::string& text, std::size_t from = 0);
// Everything up to and including the last backslash or colon; empty when the
// text has neither (it "has no folder part").
std::string FolderPart(const std::string& text);
bool HasFolderPart(const std::string& text);

// "C:\Lib\x.dll\3" -> "C:\Lib\x.dll" when the part before the last backslash
// ends in .exe, .dll, .tlb or .olb; otherwise the path unchanged.
std::string StripTypeLibIndex(const std::string& path);

// "C:\Windows\System32\drivers\x.sys,3" -> "C:\Windows\System32\drivers\x.sys":
// a trailing "," with an optional "-" and digits is an icon or resource index
// after a file name of any kind; the text before it comes back trimmed. Other
// texts come back unchanged.
std::string StripResourceIndex(const std::string& text);

// One drive path on drive C to Z, and no second one.
bool LooksLikeLocalPath(const std::string& text);

}  // namespace tidewell
