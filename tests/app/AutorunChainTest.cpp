// The whole automatic run of the real program, in two halves that
// tests/app/autorun-chain.sh runs one after the other in one throwaway prefix.
//
// Drive: plants start-up entries that name missing programs, starts the
// program, picks "Backup-Cleanup-Defrag" and "Restart", clicks Run and notes
// each window of the chain as it comes up. The restart at the end ends every
// process of the prefix, this one included, so the driver never gets to say
// it finished: the script checks that from outside.
//
// Outcome: in the same prefix afterwards, what the chain left: the backup
// file, the planted entries deleted with an undo file that records them, the
// saved hives of the compaction.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/MainWindowTexts.h"
#include "platform/win/WideText.h"
#include "platform/win/WinFileSystem.h"
#include "platform/win/WinSystemEnvironment.h"
#include "tests/app/Screenshot.h"
#include "tests/app/WindowDriver.h"
#include "tools/RegistryDefrag.h"

namespace tidewell {
namespace {

using namespace tidewell::testing;

constexpr const char* kFolder = "C:\\Tidewell Chain Test\\";
constexpr const char* kSteps = "C:\\tidewell-chain-steps.txt";
constexpr const wchar_t* kRunKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kPlanted[] = {"TwChainGoneA", "TwChainGoneB"};

// One line of the steps file: written at once, as the driver may be ended
// at any moment.
void Step(const std::string& line) { WriteFileText(kSteps, line + "\n", true); }

bool RunValueExists(const char* name) {
  return RegGetValueW(HKEY_LOCAL_MACHINE, kRunKey, WideText(name).c_str(), RRF_RT_ANY, nullptr,
                      nullptr, nullptr) == ERROR_SUCCESS;
}

// The files of a folder matching `pattern` ("*.reg"), with their sizes.
std::vector<std::pair<std::string, std::uint64_t>> FilesIn(const std::string& folder,
                                                           const char* pattern) {
  std::vector<std::pair<std::string, std::uint64_t>> found;
  WIN32_FIND_DATAW data{};
  HANDLE search = FindFirstFileW(WideText(folder + pattern).c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return found;
  do {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    found.emplace_back(folder + NarrowText(data.cFileName),
                       (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow);
  } while (FindNextFileW(search, &data));
  FindClose(search);
  return found;
}

TEST(AutorunChain, Drive) {
  RequireTestPrefix("tests/app/autorun-chain.sh");
  DeleteFileW(WideText(kSteps).c_str());
  const std::string program = CopyProgramInto(kFolder);
  for (const char* name : kPlanted) {
    const std::wstring data = WideText(std::string("C:\\tidewell-gone\\") + name + ".exe");
    ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, kRunKey, WideText(name).c_str(), REG_SZ,
                              data.c_str(),
                              static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
  }
  // The start-up check only, so that the cleanup deletes just what was
  // planted here.
  WriteFileText(std::string(kFolder) + "CleanupSettings.ini",
                "[frmCleanupSettings]\r\nchkAPPPath.Checked=False\r\n"
                "chkClassesSection.Checked=False\r\nchkClearFileList.Checked=False\r\n"
                "chkFonts.Checked=False\r\nchkHelp.Checked=False\r\n"
                "chkInvalidFileAssociations.Checked=False\r\nchkSharedDLL.Checked=False\r\n"
                "chkSounds.Checked=False\r\nchkWinStartup.Checked=True\r\n"
                "gbClearSoftware.CheckBoxChecked=True\r\n\r\n");

  auto process = std::make_unique<TDrivenProcess>(program);
  HWND main = WaitForTopWindow(process->Id(), "TfrmMain");
  ASSERT_NE(main, nullptr);
  Click(FindChild(main, "Button", MainButtonText(TMainButton::Autorun).Caption));
  HWND autorun = WaitForTopWindow(process->Id(), "TfrmAutorun");
  ASSERT_NE(autorun, nullptr);
  Click(FindChild(autorun, "Button", "Backup-Cleanup-Defrag"));
  Click(FindChild(autorun, "Button", "Restart"));
  Step("run");
  Click(FindChild(autorun, "Button", "Run"));

  // Each window of the chain once, in its order; a message box on the way
  // is a failed step.
  const std::vector<std::pair<const char*, const char*>> chain = {
      {"TfrmRegistryBackup", "backup"},
      {"TfrmRegistryCleanup", "cleanup"},
      {"TfrmRegistryDefrag", "defrag"}};
  std::size_t seen = 0;
  const bool ended = WaitUntil(
      [&] {
        if (seen < chain.size() && FindTopWindow(process->Id(), chain[seen].first) != nullptr) {
          Step(chain[seen++].second);
        }
        if (HWND box = FindTopWindow(process->Id(), "#32770")) {
          Step("message: " + MessageBoxText(box));
          AnswerMessageBox(box, IDOK);
        }
        return !process->IsRunning();
      },
      5min);
  if (!ended) {
    SaveScreenshot(ArtifactsFolder() + "autorun-chain-stuck.bmp");
    Step("timed out");
    FAIL() << "the chain did not end within five minutes";
  }
  Step("program ended");
  // The session ends with the program; a driver still here a minute later
  // means the restart was never asked for or was refused.
  Sleep(60000);
  Step("driver still running");
  FAIL() << "the program ended but the session did not";
}

TEST(AutorunChain, Outcome) {
  RequireTestPrefix("tests/app/autorun-chain.sh");
  // The backup: one export file, not empty, in the program's folder.
  const auto backups = FilesIn(std::string(kFolder) + "registrybackups\\", "*.reg");
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_GT(backups[0].second, 100000u) << backups[0].first;
  EXPECT_EQ(FileText(backups[0].first).substr(0, 2), "\xFF\xFE") << "a regedit export";

  // The cleanup: the planted entries gone, recorded in the undo file first.
  const auto undoFiles = FilesIn(std::string(kFolder) + "restore\\", "*.reg");
  ASSERT_EQ(undoFiles.size(), 1u);
  const std::string undo = FileText(undoFiles[0].first);
  for (const char* name : kPlanted) {
    EXPECT_FALSE(RunValueExists(name)) << name;
    EXPECT_NE(undo.find(std::string("\"") + name + "\"=\"C:\\\\tidewell-gone\\\\" + name),
              std::string::npos)
        << undo;
  }

  // The compaction: the hives saved into the work folder for the restart.
  WinFileSystem files;
  WinSystemEnvironment environment;
  const std::string work = DefragWorkFolder(environment.TempFolder(), "Tidewell");
  for (const char* hive : {"SOFTWARE", "SYSTEM", "USERS"}) {
    EXPECT_GT(FileSizeOf(files, work + hive), 1000u) << work << hive;
  }
}

}  // namespace
}  // namespace tidewell
