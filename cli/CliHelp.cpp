#include "cli/CliHelp.h"

namespace tidewell {
namespace {

constexpr const char* kOverview =
    "Usage: tidewell-cli COMMAND [OPTIONS]\n"
    "\n"
    "Scans the registry for entries whose targets no longer exist, deletes them\n"
    "with an undo file written first, restores from undo files, and backs up the\n"
    "whole registry. It uses the files of the windowed program in its own folder:\n"
    "restore\\, registrybackups\\, ExcludedKeys.txt and CleanupSettings.ini.\n"
    "\n"
    "Commands:\n"
    "  scan [--categories LIST] [--format text|json] [--explain]\n"
    "                                                  list the problems found\n"
    "  clean [--categories LIST] [--yes] [--explain]   delete them, undo file first\n"
    "  undo list                                       the undo files\n"
    "  undo show FILE                                  the entries of one, numbered\n"
    "  undo restore FILE [--entry N ...]               write entries back\n"
    "  backup                                          export the whole registry\n"
    "\n"
    "COMMAND --help tells more about each.\n"
    "\n"
    "Exit status: 0 done (for scan: nothing listed), 1 scan listed problems,\n"
    "2 bad usage or an error, 3 the undo file could not be written and nothing\n"
    "was deleted.\n";

constexpr const char* kCategories =
    "  --categories LIST  the checks to run: comma-separated names out of\n"
    "                     SharedDlls, FileAssociations, StartupRun, AppPaths, Help,\n"
    "                     Fonts, Sounds, ClassesSection, FileList, or all. Without\n"
    "                     it, the check boxes kept in CleanupSettings.ini decide\n"
    "                     (every check when the file is missing).\n";

constexpr const char* kScan =
    "Usage: tidewell-cli scan [--categories LIST] [--format text|json] [--explain]\n"
    "\n"
    "Scans the registry and lists the problems found, in the order found.\n"
    "Problems whose key ExcludedKeys.txt excludes are counted but not listed.\n"
    "\n";

constexpr const char* kScanRest =
    "  --format text|json the listing as text (default) or one JSON document:\n"
    "                     {\"status\", \"total\", \"excluded\", \"problems\": [{\"root\",\n"
    "                     \"keyPath\", \"valueName\", \"valueData\", \"description\",\n"
    "                     \"keyText\", \"tested\": [...]}, ...]}\n"
    "                     \"tested\" lists what the scan tested to decide each\n"
    "                     problem: the paths tried for a file, in order, the folders\n"
    "                     searched, the keys looked for.\n"
    "\n"
    "Exit status: 0 nothing listed, 1 problems listed, 2 an error.\n";

constexpr const char* kClean =
    "Usage: tidewell-cli clean [--categories LIST] [--yes] [--explain]\n"
    "\n"
    "Scans as scan does, records every listed problem in a new undo file in the\n"
    "restore folder, and then deletes them. Prints the undo file's path and how\n"
    "many entries were deleted. Asks first when run on a terminal.\n"
    "\n";

constexpr const char* kExplain =
    "  --explain          after each problem of the text listing, what the scan\n"
    "                     tested to decide it (\"file c:\\x\\y.dll: missing\",\n"
    "                     \"searched C:\\Windows\\System32: missing\"), so that a\n"
    "                     report can be checked before it is deleted\n";

constexpr const char* kCleanRest =
    "  --yes              delete without asking; needed without a terminal\n"
    "\n"
    "Exit status: 0 done, 2 an error, 3 the undo file could not be written\n"
    "(\"Can not save logfile.\") and nothing was deleted.\n";

constexpr const char* kUndo =
    "Usage: tidewell-cli undo list\n"
    "       tidewell-cli undo show FILE\n"
    "       tidewell-cli undo restore FILE [--entry N ...]\n"
    "\n"
    "list     the undo files in the restore folder, oldest first\n"
    "show     the entries of one undo file, numbered from 1\n"
    "restore  writes every entry of the file back into the registry, or only the\n"
    "         entries given with --entry (repeat it for several)\n"
    "\n"
    "FILE is a name from undo list, or a path to an undo file elsewhere.\n"
    "\n"
    "Exit status: 0 done, 2 an error (a missing or unreadable file, an entry\n"
    "number the file does not have, an entry that could not be written).\n";

constexpr const char* kBackup =
    "Usage: tidewell-cli backup\n"
    "\n"
    "Exports the whole registry with the system registry editor (regedit /e)\n"
    "into the registrybackups folder, as a file named after the date and time\n"
    "(20051108102832.reg), and prints that file's path once the export has\n"
    "ended. To restore, import the file with the registry editor.\n"
    "\n"
    "Exit status: 0 done, 2 the export could not be made (\"Error backing up the\n"
    "registry!\").\n";

}  // namespace

bool CliHelpText(const std::string& topic, std::string& text) {
  if (topic.empty()) {
    text = kOverview;
  } else if (topic == "scan") {
    text = std::string(kScan) + "Options:\n" + kCategories + kExplain + kScanRest;
  } else if (topic == "clean") {
    text = std::string(kClean) + "Options:\n" + kCategories + kExplain + kCleanRest;
  } else if (topic == "undo" || topic == "undo list" || topic == "undo show" ||
             topic == "undo restore") {
    text = kUndo;
  } else if (topic == "backup") {
    text = kBackup;
  } else {
    return false;
  }
  return true;
}

}  // namespace tidewell
