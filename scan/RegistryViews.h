// The two views of a 64-bit Windows. Its registry keeps the keys of 32-bit
// programs below Wow6432Node and shares some keys between both views; its
// file system shows 32-bit programs SysWOW64 where they name System32. A
// reference is valid where the program that uses it finds its target, so
// each one is resolved in the view of the key it was found in.
#pragma once

#include <string>
#include <vector>

#include "platform/SystemEnvironment.h"
#include "registry/Registry.h"
#include "registry/RegistryTypes.h"
#include "scan/FolderSet.h"
#include "scan/TestedList.h"

namespace tidewell {

enum class TRegView {
  Own,     // the program's own view; the system has no other
  Bits32,  // a key of the 32-bit view
  Bits64,  // a key of the 64-bit view
  Both,    // a key both views share: a program of either kind may have
           // written it, so a target found in either view exists
};

// The view of the key at `path` below `root` (leading and trailing
// backslashes allowed) for a program that sees the registry as `layout`
// says: below Wow6432Node the 32-bit view; the keys Windows keeps apart for
// each view (the machine's SOFTWARE and the CLSID, Interface and other COM
// folders of the classes) the program's own; every other key is shared.
TRegView ViewOfKey(TWowLayout layout, TRootKey root, const std::string& path);

// Whether a 64-bit program's walk of the whole registry meets, at `path`,
// a key it meets at another place too: below Wow6432Node the keys both views
// share are the 64-bit keys themselves, and the machine's
// SOFTWARE\Wow6432Node\Classes is SOFTWARE\Classes\Wow6432Node.
bool IsSharedKeyMetAgain(TWowLayout layout, TRootKey root,
                         const std::string& path);

// The paths a file test tries, in order, for `path` named by a key of
// `view`: a 32-bit key's path below System32 is the file in SysWOW64 for a
// 64-bit program; a 64-bit key's is the file in Sysnative for a 32-bit one
// (the folders Windows keeps out of the redirection excepted); a shared
// key's path is tried as given and then in the other view.
std::vector<std::string> PathsInView(const TFolderSet& folders, TRegView view,
                                     const std::string& path);

// KeyExists for a key named by a key of `view`: looked up in that view
// (KEY_WOW64_32KEY or KEY_WOW64_64KEY when it is not the program's own), a
// shared key's target in the program's view and then in the other.
// Each lookup is asked through the scan's `keys`.
bool KeyThereInView(TKeyTestCache& keys, TRegistry& registry, TWowLayout layout,
                    TRegView view, const std::string& path, TTestedList* tested);

}  // namespace tidewell
