// File-reference resolution over real files: natively a host folder mapped as
// drive C:, under Wine the prefix's temporary folder through the Win32 calls.
// The folder set points into the test folder, so the results do not depend on
// what the machine has installed.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "registry/Registry.h"
#include "scan/EmptyKey.h"
#include "scan/FileReferences.h"
#include "tests/platform/TestDrive.h"
#include "tests/scan/TestFolderSet.h"
#include "tests/support/TestRegistry.h"

namespace tidewell {
namespace {

constexpr const char* kInstallerFolders =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders";

class FileReferencesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folders = testing::FolderSetOn(drive);
    folders.PathFolders = {drive.Path("Tools"), "", drive.Path("Bin") + "\\"};
    drive.MakeFile("Windows\\System32\\kernel32.dll");
    drive.MakeFile("Windows\\System32\\rundll32.exe");
    drive.MakeFile("Windows\\System32\\regsvr32.exe");
    drive.MakeFile("Windows\\notepad.exe");
    drive.MakeFile("Windows\\Fonts\\arial.ttf");
    drive.MakeFile("Windows\\Media\\ding.wav");
    drive.MakeFile("Bin\\pathonly.exe");
    drive.MakeFile("Program Files\\App\\app.exe");
    drive.MakeFile("Program Files\\App\\lib.dll");
    drive.MakeFile("Program Files\\Foo - Bar\\tool.exe");
    drive.MakeFile("Program Files\\Common Files\\shared.dll");
    refs = std::make_unique<TFileReferences>(folders, drive.FileSystem(),
                                             environment.Environment(), *store);
  }

  std::string App() const { return drive.Path("Program Files\\App\\app.exe"); }
  std::string Lib() const { return drive.Path("Program Files\\App\\lib.dll"); }
  std::string Missing() const { return drive.Path("Program Files\\App\\gone.exe"); }

  testing::TestDrive drive;
  testing::TestEnvironment environment;
  std::unique_ptr<RegistryStore> store = testing::MakeTestRegistryStore();
  TFolderSet folders;
  std::unique_ptr<TFileReferences> refs;
};

TEST_F(FileReferencesTest, QuotedPathsSemicolonsAndPlaceholdersAreCleaned) {
  EXPECT_TRUE(refs->FileRefExists("\"" + App() + "\";"));
  EXPECT_TRUE(refs->FileRefExists("  " + App() + "\\  "));
  EXPECT_TRUE(refs->FileRefExists("%SystemRoot%\\notepad.exe"));
  EXPECT_TRUE(refs->FileRefExists("%SYSTEMROOT%\\System32\\KERNEL32.DLL"));
  EXPECT_TRUE(refs->FileRefExists("%ProgramFiles%\\App\\app.exe"));
  EXPECT_TRUE(refs->FileRefExists("%commonprogramfiles%\\shared.dll"));
  EXPECT_FALSE(refs->FileRefExists("\"" + Missing() + "\";"));
}

TEST_F(FileReferencesTest, WindowsPathRulesApply) {
  std::string forward = App();
  for (char& c : forward) if (c == '\\') c = '/';
  EXPECT_TRUE(refs->FileRefExists(forward));
  EXPECT_TRUE(refs->FileRefExists(drive.Path("PROGRAM FILES/app\\APP.EXE")));
  EXPECT_TRUE(refs->FileRefExists(App() + ". "));
  EXPECT_TRUE(refs->FileOrFolderRefExists(drive.Path("Program Files\\APP.")));
}

TEST_F(FileReferencesTest, BareNamesAreFoundInTheSystemFoldersAndPath) {
  EXPECT_TRUE(refs->FileRefExists("kernel32.dll"));
  EXPECT_TRUE(refs->FileRefExists("NOTEPAD.EXE"));
  EXPECT_TRUE(refs->FileRefExists("arial.ttf"));
  EXPECT_TRUE(refs->FileRefExists("ding.wav"));
  EXPECT_TRUE(refs->FileRefExists("pathonly.exe"));  // only in a PATH folder
  EXPECT_FALSE(refs->FileRefExists("nowhere.dll"));
  // A folder part means the file must be there: no search.
  EXPECT_FALSE(refs->FileRefExists(drive.Path("Other\\kernel32.dll")));
}

TEST_F(FileReferencesTest, SwitchesAndArgumentPlaceholdersEndTheFileName) {
  EXPECT_TRUE(refs->FileRefExists(App() + " /s"));
  EXPECT_TRUE(refs->FileRefExists(App() + "/s"));
  EXPECT_TRUE(refs->FileRefExists(App() + " -silent"));
  EXPECT_TRUE(refs->FileRefExists(drive.Path("Program Files\\App\\app -x")));
  EXPECT_TRUE(refs->FileRefExists(
      drive.Path("Program Files\\Foo - Bar\\tool.exe -q")));
  EXPECT_TRUE(refs->FileRefExists("\"" + App() + "\" \"%1\""));
  EXPECT_TRUE(refs->FileRefExists(App() + " %1 %*"));
  EXPECT_TRUE(refs->FileRefExists("regsvr32 -s"));
  // A switch that merely starts like the installer's is still a switch.
  EXPECT_TRUE(refs->FileRefExists(App() + " /install"));
  EXPECT_FALSE(refs->FileRefExists(Missing() + " /s"));
  EXPECT_FALSE(refs->FileRefExists(Missing() + " -s"));
  EXPECT_FALSE(refs->FileRefExists("\"" + Missing() + "\" \"%1\""));
}

TEST_F(FileReferencesTest, EnvironmentVariablesInAReferenceAreExpanded) {
  environment.SetVariable("TidewellAppDir", drive.Path("Program Files\\App"));
  EXPECT_TRUE(refs->FileRefExists("%TidewellAppDir%\\app.exe"));
  EXPECT_TRUE(refs->FileRefExists("%tidewellappdir%\\app.exe %1"));
  EXPECT_FALSE(refs->FileRefExists("%TidewellAppDir%\\gone.exe"));
  EXPECT_FALSE(refs->FileRefExists("%TidewellUnsetDir%\\app.exe"));
}

TEST_F(FileReferencesTest, InstallerLinesNeedTheProductFolder) {
  const std::string product = drive.Path("Installer\\{abc-123}");
  drive.MakeFolder("Installer\\{abc-123}");
  TRegistry registry(*store);
  registry.SetRootKey(TRootKey::LocalMachine);
  ASSERT_TRUE(registry.OpenKey(kInstallerFolders, true));
  registry.WriteString(product + "\\", "");
  registry.WriteString(drive.Path("Installer\\{DEF-456}\\"), "");
  drive.MakeFolder("Installer\\{DEF-456}");

  const bool lowerCodeFound = refs->FileRefExists("MsiExec.exe /I{ABC-123}");
  const bool upperCodeFound = refs->FileRefExists("MsiExec.exe /I{DEF-456}");
  const bool unknownFound = refs->FileRefExists("MsiExec.exe /I{999}");

  registry.DeleteValue(product + "\\");
  registry.DeleteValue(drive.Path("Installer\\{DEF-456}\\"));
  EXPECT_TRUE(lowerCodeFound);
  EXPECT_FALSE(upperCodeFound);  // the code is compared in lower case
  EXPECT_FALSE(unknownFound);
}

TEST_F(FileReferencesTest, CommandsThroughRundll32AreJudgedByTheLibrary) {
  const std::string rundll = drive.Path("Windows\\System32\\rundll32.exe");
  EXPECT_TRUE(refs->CommandFileExists("rundll32.exe " + Lib() + ",Entry"));
  EXPECT_TRUE(refs->CommandFileExists("RUNDLL32 " + Lib() + ",Entry"));
  EXPECT_TRUE(refs->CommandFileExists(rundll + " " + Lib() + ",Entry"));
  EXPECT_TRUE(refs->CommandFileExists("\"" + rundll + "\" \"" + Lib() + "\",Entry 1"));
  EXPECT_TRUE(refs->CommandFileExists("\"" + rundll + "\" " + Lib()));
  EXPECT_FALSE(refs->CommandFileExists(rundll + " " + Missing() + ",Entry"));
  EXPECT_FALSE(refs->CommandFileExists("rundll32.exe " + Missing() + ",Entry"));
  EXPECT_FALSE(refs->CommandFileExists("\"" + rundll + "\" \"" + Missing() + "\",X"));
}

TEST_F(FileReferencesTest, StartupCommandsTestTheirProgram) {
  EXPECT_TRUE(refs->CommandFileExists("\"" + App() + "\" /background"));
  EXPECT_TRUE(refs->CommandFileExists(App() + " -tray"));
  EXPECT_TRUE(refs->CommandFileExists("notepad.exe"));
  EXPECT_FALSE(refs->CommandFileExists("\"" + Missing() + "\" /background"));
  EXPECT_FALSE(refs->CommandFileExists(""));
  EXPECT_FALSE(refs->CommandFileExists("   "));
  EXPECT_FALSE(refs->CommandFileExists("\""));
  EXPECT_FALSE(refs->CommandFileExists("\"\""));
  EXPECT_FALSE(refs->CommandFileExists(","));
  EXPECT_FALSE(refs->CommandFileExists("rundll32.exe \"\",Entry"));
}

TEST_F(FileReferencesTest, OddInputNeverCrashesAndFindsNothing) {
  for (const char* text :
       {"", " ", "\"", "\"\"", ";", "\";", "\\", "%", "%%", "/", "/i", "/i}",
        "}/i{", " -", "-", ":\\", "c:", "c:\\", "\"c:\\\";"}) {
    EXPECT_FALSE(refs->FileRefExists(text)) << text;
    EXPECT_FALSE(refs->SoundFileExists(text)) << text;
    EXPECT_FALSE(refs->FontFileExists(text)) << text;
    EXPECT_EQ(refs->FindFileInSearchPath(text), "") << text;
  }
}

TEST_F(FileReferencesTest, VeryLongTextsEndQuicklyWithoutAResult) {
  const auto start = std::chrono::steady_clock::now();
  const std::string junk(100000, 'x');
  const std::string deep = drive.Path("Program Files\\") + std::string(20000, 'y') +
                           "\\" + std::string(30000, 'z') + " /s -q %1";
  std::string manySeparators = drive.Path("");
  for (int i = 0; i < 20000; ++i) manySeparators += "\\d";
  for (const std::string& text : {junk, deep, manySeparators}) {
    EXPECT_FALSE(refs->FileRefExists(text));
    EXPECT_FALSE(refs->CommandFileExists(text));
    EXPECT_EQ(refs->FirstExistingPrefix(text), "");
    EXPECT_EQ(refs->FindFileInSearchPath(text), "");
    EXPECT_FALSE(refs->AllPathsInTextExist(text));
  }
  EXPECT_TRUE(refs->AllPathsInTextExist(App() + " " + junk));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}

TEST_F(FileReferencesTest, FolderListsAreSearchedBeforeTheSystemFolders) {
  const std::string list = "  ;\"" + drive.Path("Program Files\\App") + "\"; \"\" ;" +
                           drive.Path("Bin");
  EXPECT_TRUE(refs->FileExistsInPathList("lib.dll", list));
  EXPECT_TRUE(refs->FileExistsInPathList("pathonly.exe", list));
  EXPECT_TRUE(refs->FileExistsInPathList("kernel32.dll", ""));  // system folder
  EXPECT_TRUE(refs->FileExistsInPathList(App(), ""));
  EXPECT_FALSE(refs->FileExistsInPathList("gone.exe", list));
  EXPECT_FALSE(refs->FileExistsInPathList(drive.Path("Bin\\lib.dll"), list));
}

TEST_F(FileReferencesTest, FontsSoundsAndTypeLibraries) {
  drive.MakeFile("Windows\\Fonts\\only here.fon");
  EXPECT_TRUE(refs->FontFileExists("only here.fon"));
  EXPECT_TRUE(refs->FontFileExists(App()));
  EXPECT_FALSE(refs->FontFileExists(drive.Path("Elsewhere\\only here.fon")));
  EXPECT_TRUE(refs->SoundFileExists("ding.wav"));
  EXPECT_TRUE(refs->SoundFileExists(App()));
  EXPECT_FALSE(refs->SoundFileExists("chord.wav"));
  EXPECT_TRUE(refs->FileOrFolderRefExists("\"%ProgramFiles%\\App\\\""));
  EXPECT_TRUE(refs->FileOrFolderRefExists(StripTypeLibIndex(Lib() + "\\3")));
  EXPECT_FALSE(refs->FileOrFolderRefExists(Missing()));
}

TEST_F(FileReferencesTest, FirstExistingPrefixFindsTheProgramInACommandLine) {
  EXPECT_EQ(refs->FirstExistingPrefix(App() + " -x /y"), App());
  EXPECT_EQ(refs->FirstExistingPrefix("junk \"" + App() + "\" /s"), App());
  EXPECT_EQ(refs->FirstExistingPrefix(Missing() + " /s"), "");
  EXPECT_EQ(refs->FirstExistingPrefix(drive.Path("Program Files\\Foo - Bar\\tool.exe -q")),
            drive.Path("Program Files\\Foo - Bar\\tool.exe"));
}

TEST_F(FileReferencesTest, SearchPathFollowsPathAtTheTimeOfTheCall) {
  environment.SetVariable("PATH", drive.Path("Bin"));
  EXPECT_EQ(refs->FindFileInSearchPath(App() + " /uninstall"), App());
  EXPECT_EQ(refs->FindFileInSearchPath("regsvr32.exe /u x.dll"),
            drive.Path("Windows\\System32\\regsvr32.exe"));
  EXPECT_EQ(refs->FindFileInSearchPath("notepad.exe readme"),
            drive.Path("Windows\\notepad.exe"));
  environment.SetVariable("PATH", "\"" + drive.Path("Program Files\\App") + "\";" +
                                      drive.Path("Bin"));
  EXPECT_EQ(refs->FindFileInSearchPath("app.exe /uninstall"),
            drive.Path("Program Files\\App\\app.exe"));
  EXPECT_EQ(refs->FindFileInSearchPath("pathonly.exe"), drive.Path("Bin\\pathonly.exe"));
  environment.SetVariable("PATH", drive.Path("Bin"));
  EXPECT_EQ(refs->FindFileInSearchPath("app.exe /uninstall"), "");
}

TEST_F(FileReferencesTest, SearchPathExpandsPlaceholdersAsWindowsRunsTheCommand) {
  // Uninstall commands are often stored as "%ProgramFiles%\App\app.exe";
  // unexpanded, such an entry would be reported missing and deleted.
  environment.SetVariable("TIDEWELLAPPS", drive.Path("Program Files"));
  EXPECT_EQ(refs->FindFileInSearchPath("\"%TIDEWELLAPPS%\\App\\app.exe\" /S"), App());
  EXPECT_EQ(refs->FindFileInSearchPath("%TIDEWELLAPPS%\\App\\gone.exe"), "");
}

TEST_F(FileReferencesTest, EveryDrivePathOfATextMustExist) {
  const std::string folder = drive.Path("Program Files\\App");
  EXPECT_TRUE(refs->AllPathsInTextExist(App() + " /s"));
  EXPECT_TRUE(refs->AllPathsInTextExist("\"" + App() + "\" \"" + Lib() + "\""));
  EXPECT_TRUE(refs->AllPathsInTextExist(folder));
  EXPECT_TRUE(refs->AllPathsInTextExist(folder + "\\"));
  EXPECT_FALSE(refs->AllPathsInTextExist(App() + " " + Missing()));
  EXPECT_FALSE(refs->AllPathsInTextExist(Missing() + ";" + App()));
  // A text whose drive marks sit after a quote or a slash still ends.
  EXPECT_FALSE(refs->AllPathsInTextExist("\":\\a /:\\b \":\\"));
}

TEST_F(FileReferencesTest, ExtractFileRefCutsAfterAKnownExtension) {
  std::vector<std::string> found;
  EXPECT_EQ(refs->ExtractFileRef("c:\\dir\\lib.dll,1 more", found), "c:\\dir\\lib.dll");
  EXPECT_EQ(refs->ExtractFileRef("c:\\dir\\f.ax\\x", found), "c:\\dir\\f.ax");
  EXPECT_EQ(refs->ExtractFileRef("c:\\dir\\readme.txt\" x", found), "c:\\dir\\readme.txt");
  EXPECT_EQ(refs->ExtractFileRef("c:\\dir\\run.exe /x", found), "c:\\dir\\run.exe");
  EXPECT_EQ(refs->ExtractFileRef(" c:\\dir\\ ", found), " c:\\dir\\ ");
  ASSERT_EQ(found.size(), 5u);
  EXPECT_EQ(found[2], "c:\\dir\\readme.txt");  // not cut to "c:" without ".ax"
  EXPECT_EQ(found[4], "c:\\dir");
}

TEST_F(FileReferencesTest, NormalizeFileRefDropsMarksAndReplacesPlaceholders) {
  EXPECT_EQ(refs->NormalizeFileRef("\"c:\\dir\\\";"), "c:\\dir");
  EXPECT_EQ(refs->NormalizeFileRef("%SystemRoot%\\a;%SYSTEMROOT%\\b"),
            folders.WindowsFolder + "\\a;" + folders.WindowsFolder + "\\b");
  EXPECT_EQ(refs->NormalizeFileRef(";"), ";");
  EXPECT_EQ(refs->NormalizeFileRef("\"\""), "");
  EXPECT_EQ(refs->NormalizeFileRef("\";"), "");
  EXPECT_EQ(refs->NormalizeFileRef(""), "");
  EXPECT_EQ(refs->NormalizeFileRef(" x "), " x ");
}

class EmptyKeyTest : public ::testing::Test {
 protected:
  std::unique_ptr<RegistryStore> store = testing::MakeTestRegistryStore();
  testing::SandboxKey sandbox{*store, TRootKey::CurrentUser, "EmptyKeyTest"};
  TRegistry registry{*store};
  void SetUp() override {
    registry.SetRootKey(sandbox.Root());
    ASSERT_TRUE(registry.OpenKey(sandbox.Path() + "\\Entry", true));
  }
};

TEST_F(EmptyKeyTest, KeysWithNothingButEmptyStringsAreEmpty) {
  EXPECT_TRUE(IsEmptyKey(registry));
  registry.WriteString("DisplayName", "");
  registry.WriteExpandString("UninstallString", "");
  EXPECT_TRUE(IsEmptyKey(registry));
}

TEST_F(EmptyKeyTest, TextNumbersBytesOrSubkeysMakeAKeyNotEmpty) {
  registry.WriteString("Empty", "");
  registry.WriteInteger("Version", 0);
  EXPECT_FALSE(IsEmptyKey(registry));
  registry.DeleteValue("Version");
  registry.WriteBinaryData("Blob", "", 0);
  EXPECT_FALSE(IsEmptyKey(registry));
  registry.DeleteValue("Blob");
  registry.WriteString("Name", "App");
  EXPECT_FALSE(IsEmptyKey(registry));
  registry.DeleteValue("Name");
  ASSERT_TRUE(registry.OpenKey("Sub", true));
  ASSERT_TRUE(registry.OpenKey("\\" + sandbox.Path() + "\\Entry", false));
  EXPECT_FALSE(IsEmptyKey(registry));
}

}  // namespace
}  // namespace tidewell

namespace tidewell {
namespace {

class FolderSetBuildTest : public ::testing::Test {
 protected:
  void TearDown() override {
    TRegistry registry(*store);
    registry.SetRootKey(TRootKey::LocalMachine);
    if (registry.OpenKey(kVersionKey, false)) registry.DeleteValue("MediaPath");
  }
  static constexpr const char* kVersionKey =
      "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
  testing::TestEnvironment environment;
  std::unique_ptr<RegistryStore> store = testing::MakeTestRegistryStore();
};

TEST_F(FolderSetBuildTest, FoldersComeFromTheSystemAndMediaPathFromTheRegistry) {
  environment.SetVariable("PATH", "C:\\One;;C:\\Two\\");
  environment.SetVariable("TidewellMediaRoot", "C:\\Sounds");
  TRegistry registry(*store);
  registry.SetRootKey(TRootKey::LocalMachine);
  ASSERT_TRUE(registry.OpenKey(kVersionKey, true));
  registry.WriteExpandString("MediaPath", "%TidewellMediaRoot%\\Media\\");

  TSystemEnvironment& env = environment.Environment();
  const TFolderSet folders = BuildFolderSet(env, *store);
  EXPECT_EQ(folders.MediaPath, "C:\\Sounds\\Media");
  EXPECT_EQ(folders.PathFolders,
            (std::vector<std::string>{"C:\\One", "", "C:\\Two\\"}));
  EXPECT_EQ(folders.WindowsFolder, env.WindowsFolder());
  EXPECT_EQ(folders.SystemFolder, env.SystemFolder());
  EXPECT_EQ(folders.FontsFolder, env.FontsFolder());
  EXPECT_EQ(folders.ProgramFilesFolder, env.ProgramFilesFolder());
  EXPECT_EQ(folders.CommonFilesFolder, env.CommonFilesFolder());

  registry.WriteInteger("MediaPath", 7);  // of the wrong type: no media path
  EXPECT_EQ(BuildFolderSet(env, *store).MediaPath, "");
  registry.DeleteValue("MediaPath");
  EXPECT_EQ(BuildFolderSet(env, *store).MediaPath, "");
}

}  // namespace
}  // namespace tidewell
