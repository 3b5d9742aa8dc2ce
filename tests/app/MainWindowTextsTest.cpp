// The launcher's words and names: caption, button captions and help texts,
// the single-instance mutex names, the application folder.
#include <string>

#include <gtest/gtest.h>

#include "app/ApplicationFolder.h"
#include "app/MainWindowTexts.h"
#include "app/SingleInstanceNames.h"
#include "platform/TextTrim.h"

namespace tidewell {
namespace {

TEST(MainWindowTextsTest, CaptionIsTwoSpacesProductSpaceVersion) {
  EXPECT_EQ(MainCaption("Tidewell", "2.0.0.0"), "  Tidewell 2.0.0.0");
  EXPECT_EQ(MainCaption("Value Not Available", "Value Not Available"),
            "  Value Not Available Value Not Available");
}

TEST(MainWindowTextsTest, SevenButtonsInOrderWithTrailingSpaces) {
  const char* expected[] = {"Registry Backup", "Registry Cleanup",
                            "Registry Defrag", "Auto Run", "Undo Cleanups",
                            "Help && support", "Exit"};
  const char* names[] = {"btnRegistryBackup", "btnRegistryCleanup",
                         "btnRegistryDefrag", "btnAutorun",
                         "btnUndoCleanups",  "btnHelp", "btnExit"};
  ASSERT_EQ(MainButtonTexts().size(), 7u);
  for (std::size_t i = 0; i < 7; ++i) {
    const std::string caption = MainButtonTexts()[i].Caption;
    EXPECT_EQ(TrimText(caption), expected[i]);
    EXPECT_EQ(caption.back(), ' ') << caption;
    EXPECT_STREQ(MainButtonTexts()[i].Name, names[i]);
  }
}

TEST(MainWindowTextsTest, HelpTextsAreTheUsersOwnWords) {
  EXPECT_EQ(std::string(MainButtonText(TMainButton::RegistryCleanup).HelpText),
            "Scan the registry database for invalid entries. Remember to "
            "restart your PC after cleanups.");
  EXPECT_STREQ(MainButtonText(TMainButton::RegistryDefrag).ShortHelp,
               "Compress the registry");
  EXPECT_EQ(std::string(MainButtonText(TMainButton::RegistryDefrag).HelpText),
            "After cleanups followed by a restart you should defrag the "
            "registry to further enhance the performance of your computer.");
  EXPECT_STREQ(MainButtonText(TMainButton::Autorun).HelpText,
               "This will do all of the backup, cleanup and defrag tasks "
               "automatically without any user intervention.");
  EXPECT_STREQ(MainButtonText(TMainButton::UndoCleanups).HelpText,
               "If after cleanups you notice any misbehavior click this "
               "button.");
  EXPECT_STREQ(MainButtonText(TMainButton::Help).HelpText,
               "What is registry? How does this program speed up your "
               "computer?\r\nand other questions you might have.");
  EXPECT_STREQ(MainButtonText(TMainButton::Exit).HelpText, "");
  EXPECT_STREQ(HintButtonHelpText(),
               "For help click me, then click anywhere on the window.");
}

TEST(MainWindowTextsTest, BackupHelpEndsWithTheRestoreAdviceAndLegend) {
  const std::string help = MainButtonText(TMainButton::RegistryBackup).HelpText;
  EXPECT_EQ(help,
            "Before starting the optimization take a backup copy of your "
            "egistry.\r\n\r\n"
            "To restore the registry go to C:\\Program "
            "Files\\tdw\\registrybackups and double-click the newest backup "
            "file.\r\n\r\n"
            "Backup files are named after the date and time of backup in the "
            "form of yyyymmddhhmmss.reg\r\n\r\n"
            "yyyy: Year\r\nmm: Month\r\ndd: day\r\nhh: Hour\r\nmm: "
            "Minute\r\nss: Second");
}

TEST(MainWindowTextsTest, WelcomeText) {
  EXPECT_STREQ(WelcomeText(),
               "Welcome to Palvorin Tidewell!\r\n\r\nFor help click the "
               "question mark below and then click anywhere on the window.");
  EXPECT_STREQ(kAlreadyRunningMessage, "The program is already running.");
}

TEST(SingleInstanceNamesTest, BuiltFromTitleIdentifierAndSuffix) {
  const std::string base = OneInstanceBaseName("Tidewell", "Tidewell");
  EXPECT_EQ(base, "TidewellTidewell.OneInstance.");
  EXPECT_EQ(CriticalSectionMutexName(base),
            "TidewellTidewell.OneInstance.CriticalSection");
  EXPECT_EQ(DefaultMutexName(base), "TidewellTidewell.OneInstance.Default");
}

TEST(SingleInstanceNamesTest, BackslashesBecomeSlashes) {
  EXPECT_EQ(OneInstanceBaseName("A\\B", "C\\D"), "A/BC/D.OneInstance.");
}

TEST(ApplicationFolderTest, FolderOfTheProgramWithTrailingBackslash) {
  EXPECT_EQ(ApplicationFolderOf("C:\\Program Files\\tdw\\tidewell.exe"),
            "C:\\Program Files\\tdw\\");
  EXPECT_EQ(ApplicationFolderOf("C:\\tidewell.exe"), "C:\\");
  EXPECT_EQ(ApplicationFolderOf("C:tidewell.exe"), "C:\\");
  EXPECT_EQ(FileNameOf("C:\\Program Files\\tdw\\tidewell.exe"), "tidewell.exe");
  EXPECT_EQ(FileNameOf("C:tidewell.exe"), "tidewell.exe");
}

}  // namespace
}  // namespace tidewell
