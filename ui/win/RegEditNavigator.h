// OpenRegEditWithKey: the system registry editor brought to the front with a
// key, and a value in it, selected. The cleanup and undo windows both open it
// on a double-click.
#pragma once

#include <windows.h>

#include <string>

namespace tidewell {

// `keyText` is a root name, a backslash and a key path
// ("HKEY_CLASSES_ROOT\CLSID\{...}"); `valueName` empty selects the default
// value. Starts the editor when none runs; false when none can be found even
// then (the caller says so). Everything past that is done quietly as far as
// it goes: a key that is missing leaves the editor at the nearest key above it.
//
// The editor's tree and list are walked by their items, read across the
// process boundary, and the items selected directly. (Typing the names into
// them, as a user would, depends on the controls' type-ahead timing, which
// differs between systems and runs names of a path together.) This needs an
// editor of the program's own bitness; with another one the editor is only
// brought to the front.
bool OpenRegEditWithKey(const std::string& keyText, const std::string& valueName);

// The editor's main window when one runs (class "RegEdit_RegEdit").
HWND FindRegEditWindow();
// The first window below `parent`, at any depth, of the class. The editor's
// tree and list carry texts under Wine and none on Windows: find them by
// class only.
HWND FindDescendantOfClass(HWND parent, const wchar_t* className);

}  // namespace tidewell
