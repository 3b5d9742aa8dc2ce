// Resolving 10,000 mixed file references the way the checks meet them: full
// paths, quoted commands with switches, placeholders, bare names found through
// the Windows folders and PATH, rundll32 commands, installer lines, type
// library indexes; about one in ten names a missing file. Prints time per
// reference and the file-system calls each routine makes.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "bench/CountingFileSystem.h"
#include "platform/NativeFileSystem.h"
#include "platform/NativeSystemEnvironment.h"
#include "registry/MemoryRegistryStore.h"
#include "scan/FileRefText.h"
#include "scan/FileReferences.h"

namespace fs = std::filesystem;
using namespace tidewell;

namespace {

void Touch(const fs::path& root, const std::string& relative) {
  fs::path path = root / "c";
  std::string part;
  for (char c : relative) {
    if (c == '\\') {
      path /= part;
      part.clear();
    } else {
      part += c;
    }
  }
  fs::create_directories(path);
  std::ofstream(path / part) << "x";
}

struct Case {
  const char* routine;
  std::string text;
};

}  // namespace

int main() {
  const fs::path root = fs::temp_directory_path() / "tidewell-filerefs-bench";
  fs::remove_all(root);
  for (int i = 0; i < 500; ++i) {
    Touch(root, "Program Files\\Vendor" + std::to_string(i % 50) + "\\app" +
                    std::to_string(i) + ".exe");
    Touch(root, "Windows\\System32\\lib" + std::to_string(i) + ".dll");
  }
  Touch(root, "Windows\\System32\\rundll32.exe");
  Touch(root, "Windows\\System32\\msiexec.exe");
  Touch(root, "Windows\\notepad.exe");
  Touch(root, "Windows\\Fonts\\arial.ttf");

  NativeFileSystem disk(root);
  CountingFileSystem files(disk);
  TSpecialFolders special;
  special.WindowsFolder = "C:\\Windows";
  special.SystemFolder = "C:\\Windows\\System32";
  special.FontsFolder = "C:\\Windows\\Fonts";
  special.ProgramFilesFolder = "C:\\Program Files";
  special.CommonFilesFolder = "C:\\Program Files\\Common Files";
  special.TempFolder = "C:\\Temp";
  special.ProgramFileName = "C:\\Tidewell\\tidewell.exe";
  NativeSystemEnvironment environment(
      special, {{"PATH", "C:\\Windows\\System32;C:\\Windows;C:\\Tools"},
                {"SystemRoot", "C:\\Windows"}});
  MemoryRegistryStore store;
  TFolderSet folders = BuildFolderSet(environment, store);
  TFileReferences refs(folders, files, environment, store);

  std::vector<Case> cases;
  for (int i = 0; i < 10000; ++i) {
    const std::string n = std::to_string(i % 500);
    const bool missing = i % 10 == 0;
    const std::string app = "C:\\Program Files\\Vendor" + std::to_string((i % 500) % 50) +
                            "\\app" + (missing ? "gone" : "") + n + ".exe";
    switch (i % 8) {
      case 0: cases.push_back({"FileRefExists", app}); break;
      case 1: cases.push_back({"CommandFileExists", "\"" + app + "\" /background -x"}); break;
      case 2: cases.push_back({"FileRefExists", "%SystemRoot%\\System32\\lib" + n + (missing ? "x" : "") + ".dll"}); break;
      case 3: cases.push_back({"FileRefExists", "lib" + n + (missing ? "x" : "") + ".dll"}); break;
      case 4: cases.push_back({"CommandFileExists", "C:\\Windows\\System32\\rundll32.exe C:\\Windows\\System32\\lib" + n + (missing ? "x" : "") + ".dll,Start"}); break;
      case 5: cases.push_back({"FindFileInSearchPath", "MsiExec.exe /X{" + n + "-0000}"}); break;
      case 6: cases.push_back({"FileOrFolderRefExists", StripTypeLibIndex("C:\\Windows\\System32\\lib" + n + ".dll\\3")}); break;
      default: cases.push_back({"AllPathsInTextExist", "\"" + app + "\" \"%1\""}); break;
    }
  }

  std::map<std::string, std::pair<std::uint64_t, double>> perRoutine;
  std::uint64_t found = 0;
  const auto start = std::chrono::steady_clock::now();
  for (const Case& c : cases) {
    const std::uint64_t before = files.Snapshot().Total();
    const auto t0 = std::chrono::steady_clock::now();
    bool ok;
    const std::string routine = c.routine;
    if (routine == "FileRefExists") ok = refs.FileRefExists(c.text);
    else if (routine == "CommandFileExists") ok = refs.CommandFileExists(c.text);
    else if (routine == "FindFileInSearchPath") ok = !refs.FindFileInSearchPath(c.text).empty();
    else if (routine == "FileOrFolderRefExists") ok = refs.FileOrFolderRefExists(c.text);
    else ok = refs.AllPathsInTextExist(c.text);
    const auto t1 = std::chrono::steady_clock::now();
    found += ok;
    perRoutine[routine].first += files.Snapshot().Total() - before;
    perRoutine[routine].second += std::chrono::duration<double, std::micro>(t1 - t0).count();
  }
  const double total = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  const CountingFileSystem::Counts& counts = files.Snapshot();
  std::printf("resolved %zu references (%llu found) in %.3f s: %.1f us each, %llu file-system calls (%.2f each)\n",
              cases.size(), static_cast<unsigned long long>(found), total,
              total * 1e6 / cases.size(), static_cast<unsigned long long>(counts.Total()),
              static_cast<double>(counts.Total()) / cases.size());
  std::printf("  FileExists %llu, DirectoryExists %llu, answered false %llu (%.3f s)\n",
              static_cast<unsigned long long>(counts.fileExists),
              static_cast<unsigned long long>(counts.directoryExists),
              static_cast<unsigned long long>(counts.misses), counts.missSeconds);
  for (const auto& [routine, figures] : perRoutine) {
    std::printf("  %-22s %8llu calls %10.0f us\n", routine.c_str(),
                static_cast<unsigned long long>(figures.first), figures.second);
  }
  fs::remove_all(root);
  return 0;
}
