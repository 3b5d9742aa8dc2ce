// The settings store: the file CleanupSettings.ini as the settings window
// writes it, line by line, the value forms, the reading rules, and files a
// person has garbled.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/CleanupSettingsStore.h"
#include "settings/FormPlacement.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsStore.h"
#include "platform/AnsiCodePage.h"
#include "scan/RegistryWork.h"
#include "tests/platform/TestDrive.h"

namespace tidewell {
namespace {

const char* const kAllTicked =
    "[frmCleanupSettings]\r\n"
    "chkAPPPath.Checked=True\r\n"
    "chkClassesSection.Checked=True\r\n"
    "chkClearFileList.Checked=True\r\n"
    "chkFonts.Checked=True\r\n"
    "chkHelp.Checked=True\r\n"
    "chkInvalidFileAssociations.Checked=True\r\n"
    "chkSharedDLL.Checked=True\r\n"
    "chkSounds.Checked=True\r\n"
    "chkWinStartup.Checked=True\r\n"
    "gbClearSoftware.CheckBoxChecked=True\r\n"
    "\r\n";

TEST(CleanupSettingsFile, WithEveryBoxTickedHoldsTheTenLinesInOrder) {
  TSettingsFile store = MakeCleanupSettingsStore();
  StoreCleanupChecks(TCleanupChecks{}, store);
  EXPECT_EQ(store.Text(), kAllTicked);
  EXPECT_EQ(store.FileName("C:\\Tools\\"), "C:\\Tools\\CleanupSettings.ini");
  EXPECT_EQ(store.Text().find("chkClearSoftware"), std::string::npos);
}

TEST(CleanupSettingsFile, UntickedBoxesAreWrittenFalseInTheirPlace) {
  TCleanupChecks checks;
  checks.chkSounds = false;
  checks.gbClearSoftware = false;
  TSettingsFile store = MakeCleanupSettingsStore();
  StoreCleanupChecks(checks, store);
  std::string expected = kAllTicked;
  expected.replace(expected.find("chkSounds.Checked=True"), 22, "chkSounds.Checked=False");
  expected.replace(expected.find("CheckBoxChecked=True"), 20, "CheckBoxChecked=False");
  EXPECT_EQ(store.Text(), expected);
}

TEST(CleanupSettingsFile, CheckStatesSelectTheCategoriesAsTheWindowDoes) {
  TCleanupChecks all;
  EXPECT_EQ(CategoriesOf(all), 511);

  // The group's caption box gates the seven boxes inside it.
  TCleanupChecks noSoftware;
  noSoftware.gbClearSoftware = false;
  EXPECT_EQ(CategoriesOf(noSoftware), cfClassesSection | cfFileList);

  TCleanupChecks none;
  none.chkAPPPath = none.chkClassesSection = none.chkClearFileList = false;
  none.chkFonts = none.chkHelp = none.chkInvalidFileAssociations = false;
  none.chkSharedDLL = none.chkSounds = none.chkWinStartup = false;
  EXPECT_EQ(CategoriesOf(none), 0);

  TCleanupChecks some = none;
  some.chkFonts = some.chkWinStartup = true;
  EXPECT_EQ(CategoriesOf(some), cfFonts | cfStartupRun);
}

TEST(CleanupSettingsFile, ReadBackGivesTheStoredStatesAndDefaultsForMissingLines) {
  TSettingsFile store = MakeCleanupSettingsStore();
  EXPECT_TRUE(store.LoadText("[frmCleanupSettings]\r\nchkHelp.Checked=False\r\n"
                             "gbclearsoftware.checkboxchecked=false\r\n").empty());
  TCleanupChecks checks;
  std::string error;
  ASSERT_TRUE(ReadCleanupChecks(store, checks, error));
  EXPECT_FALSE(checks.chkHelp);
  EXPECT_FALSE(checks.gbClearSoftware);
  EXPECT_TRUE(checks.chkSounds);
  EXPECT_EQ(CategoriesOf(checks), cfClassesSection | cfFileList);
}

TEST(CleanupSettingsFile, ACheckBoxLineThatIsNotYesOrNoIsRefused) {
  TSettingsFile store = MakeCleanupSettingsStore();
  store.LoadText("[frmCleanupSettings]\nchkFonts.Checked=1\n");
  TCleanupChecks checks;
  checks.chkHelp = false;
  std::string error;
  EXPECT_FALSE(ReadCleanupChecks(store, checks, error));
  EXPECT_EQ(error, "\"chkFonts.Checked\" must be True or False");
  EXPECT_FALSE(checks.chkHelp) << "a refused file leaves the states alone";
}

TEST(SettingsFileValues, EveryFormIsWrittenAsTheFileSpellsIt) {
  TSettingsFile store("RegistryCleanup", "frmRegistryCleanup");
  store.WriteBool("btnTick.Enabled", false);
  store.WriteInteger("rgTasks.ItemIndex", -2);
  store.WriteString("lblName.Caption", "C:\\Old \"x\"");
  store.WriteString("memNote.Text", "a$b\r\nc\x7f");
  store.WriteIntegerList("lvwRegKeys.Columns.Width", {300, 152, 135});
  store.WriteInteger("rgTasks.ItemIndex", 3);  // replaced in place
  EXPECT_EQ(store.Text(),
            "[frmRegistryCleanup]\r\n"
            "btnTick.Enabled=False\r\n"
            "rgTasks.ItemIndex=3\r\n"
            "lblName.Caption=\"C:\\Old \"x\"\"\r\n"
            "memNote.Text=text:\"a$$b$0D$0Ac$7F\"\r\n"
            "lvwRegKeys.Columns.Width=\"300,152,135\"\r\n"
            "\r\n");

  TSettingsFile back("RegistryCleanup", "frmRegistryCleanup");
  EXPECT_TRUE(back.LoadText(store.Text()).empty());
  EXPECT_FALSE(back.ReadBool("btnTick.Enabled", true));
  EXPECT_EQ(back.ReadInteger("rgTasks.ItemIndex", 0), 3);
  EXPECT_EQ(back.ReadString("lblName.Caption", ""), "C:\\Old \"x\"");
  EXPECT_EQ(back.ReadString("memNote.Text", ""), "a$b\r\nc\x7f");
  EXPECT_EQ(back.ReadIntegerList("lvwRegKeys.Columns.Width", {}),
            (std::vector<std::int64_t>{300, 152, 135}));
  EXPECT_EQ(back.Names(), store.Names());
}

TEST(SettingsFileValues, ReadingFollowsTheFileRules) {
  TSettingsFile store("Autorun", "frmAutorun");
  const std::vector<std::string> problems = store.LoadText(
      "  [frmOther]  \n"
      "rgTasks.ItemIndex=9\n"
      "[frmAutorun]\r"
      "   rgTasks.ItemIndex = +7   \r\n"
      "# chkA.Checked=False\n"
      "; chkB.Checked=False\n"
      "/ chkC.Checked=False\n"
      "\\ chkD.Checked=False\n"
      "no equals sign here\n"
      "\n"
      "chkE.Checked=TRUE\n"
      "FormPlacement=0,1,-1,-1,-1,-1,10,20,610,420\n"
      "Big=int64:\"12\"\n"
      "Empty=\n");
  EXPECT_TRUE(problems.empty());
  EXPECT_EQ(store.Names(), (std::vector<std::string>{"rgTasks.ItemIndex", "chkE.Checked",
                                                     "FormPlacement", "Big", "Empty"}));
  EXPECT_EQ(store.ReadInteger("rgTasks.ItemIndex", 0), 7);
  EXPECT_TRUE(store.ReadBool("chkE.Checked", false));
  EXPECT_EQ(store.ReadIntegerList("FormPlacement", {}),
            (std::vector<std::int64_t>{0, 1, -1, -1, -1, -1, 10, 20, 610, 420}));
  // The other typed forms are kept, but are not what a reader of a number
  // or a text asked for.
  EXPECT_EQ(store.Find("Big")->Kind, TSettingsValue::TKind::Other);
  EXPECT_EQ(store.ReadInteger("Big", -5), -5);
  EXPECT_EQ(store.ReadString("Empty", "x"), "");
  // A value of another form than asked for gives the fallback.
  EXPECT_EQ(store.ReadString("rgTasks.ItemIndex", "none"), "none");
  EXPECT_TRUE(store.ReadBool("rgTasks.ItemIndex", true));
}

TEST(SettingsFileValues, GarbledValuesAreReportedWithTheirLine) {
  TSettingsFile store = MakeCleanupSettingsStore();
  const std::vector<std::string> problems = store.LoadText(
      "[frmCleanupSettings]\n"
      "chkFonts.Checked=yes\n"
      "chkHelp.Checked=True\n"
      "lblX.Caption=\"not closed\n"
      "lblY.Caption=text:\"bad $G1 escape\"\n");
  ASSERT_EQ(problems.size(), 3u);
  EXPECT_EQ(problems[0],
            "line 2: \"chkFonts.Checked\" has a value that is not True, False, a "
            "number or a quoted text");
  EXPECT_EQ(problems[1].substr(0, 8), "line 4: ");
  EXPECT_EQ(problems[2].substr(0, 8), "line 5: ");
  EXPECT_EQ(store.Names(), std::vector<std::string>{"chkHelp.Checked"});
}

TEST(SettingsFileValues, WholeNumbersAreStrict) {
  EXPECT_EQ(ParseWholeNumber("42"), 42);
  EXPECT_EQ(ParseWholeNumber("+42"), 42);
  EXPECT_EQ(ParseWholeNumber("-42"), -42);
  EXPECT_FALSE(ParseWholeNumber(""));
  EXPECT_FALSE(ParseWholeNumber("+"));
  EXPECT_FALSE(ParseWholeNumber("++4"));
  EXPECT_FALSE(ParseWholeNumber("4x"));
  EXPECT_FALSE(ParseWholeNumber("99999999999999999999"));
}

class SettingsFileOnDisk : public ::testing::Test {
 protected:
  testing::TestDrive drive_;
  Windows1252CodePage codePage_;
  std::string error_;
};

TEST_F(SettingsFileOnDisk, AMissingFileIsAnEmptyStoreAndNoError) {
  TSettingsFile store = MakeCleanupSettingsStore();
  store.WriteBool("chkFonts.Checked", false);
  EXPECT_TRUE(store.LoadFromFile(drive_.FileSystem(), codePage_,
                                 drive_.Path("CleanupSettings.ini"), error_));
  EXPECT_TRUE(store.Names().empty());
}

TEST_F(SettingsFileOnDisk, SavingReplacesTheFileWithAnsiText) {
  drive_.MakeFile("RegistryUndo.ini", "old content that is much longer than the new");
  TSettingsFile store("RegistryUndo", "frmRegistryUndo");
  store.WriteString("lblFolder.Caption", "Caf\xC3\xA9");
  ASSERT_TRUE(store.SaveToFile(drive_.FileSystem(), codePage_,
                               store.FileName(drive_.Root() + "\\"), error_))
      << error_;
  std::string bytes;
  ASSERT_TRUE(drive_.FileSystem().ReadWholeFile(drive_.Path("RegistryUndo.ini"), bytes));
  EXPECT_EQ(bytes, "[frmRegistryUndo]\r\nlblFolder.Caption=\"Caf\xE9\"\r\n\r\n");

  TSettingsFile back("RegistryUndo", "frmRegistryUndo");
  ASSERT_TRUE(back.LoadFromFile(drive_.FileSystem(), codePage_,
                                drive_.Path("RegistryUndo.ini"), error_));
  EXPECT_EQ(back.ReadString("lblFolder.Caption", ""), "Caf\xC3\xA9");
}

TEST_F(SettingsFileOnDisk, AGarbledOrUnicodeFileIsRefusedWithItsReason) {
  drive_.MakeFile("CleanupSettings.ini",
                  "[frmCleanupSettings]\r\nchkSounds.Checked=Maybe\r\n");
  TSettingsFile store = MakeCleanupSettingsStore();
  EXPECT_FALSE(store.LoadFromFile(drive_.FileSystem(), codePage_,
                                  drive_.Path("CleanupSettings.ini"), error_));
  EXPECT_EQ(error_, drive_.Path("CleanupSettings.ini") +
                        ", line 2: \"chkSounds.Checked\" has a value that is not "
                        "True, False, a number or a quoted text");

  drive_.MakeFile("Wide.ini", std::string("\xFF\xFE[\0f\0", 6));
  EXPECT_FALSE(store.LoadFromFile(drive_.FileSystem(), codePage_,
                                  drive_.Path("Wide.ini"), error_));
  EXPECT_EQ(error_, drive_.Path("Wide.ini") + " is not an 8-bit text file");
}

}  // namespace
}  // namespace tidewell

namespace tidewell {

TEST_F(SettingsFileOnDisk, TheStoreReadsAtCreationAndWritesOnlyAtTheEnd) {
  const std::string garbled = "[frmCleanupSettings]\r\nchkSounds.Checked=Maybe\r\n"
                              "chkFonts.Checked=False\r\n";
  drive_.MakeFile("CleanupSettings.ini", garbled);
  TSettingsStore store(drive_.FileSystem(), codePage_, drive_.Root() + "\\");
  TSettingsFile& file = store.Open("CleanupSettings", "frmCleanupSettings");
  EXPECT_EQ(&store.Open("cleanupsettings", "frmCleanupSettings"), &file);
  // What can be read is there; the garbled line is reported and left out.
  EXPECT_FALSE(file.ReadBool("chkFonts.Checked", true));
  EXPECT_EQ(file.Find("chkSounds.Checked"), nullptr);
  ASSERT_EQ(store.ReadProblems().size(), 1u);

  file.Clear();
  file.WriteBool("chkSounds.Checked", true);
  std::string bytes;
  ASSERT_TRUE(drive_.FileSystem().ReadWholeFile(drive_.Path("CleanupSettings.ini"), bytes));
  EXPECT_EQ(bytes, garbled) << "nothing is written before the program ends";

  std::vector<std::string> errors;
  ASSERT_TRUE(store.SaveAll(errors));
  ASSERT_TRUE(drive_.FileSystem().ReadWholeFile(drive_.Path("CleanupSettings.ini"), bytes));
  EXPECT_EQ(bytes, "[frmCleanupSettings]\r\nchkSounds.Checked=True\r\n\r\n");

  // A file that cannot be replaced (a folder stands in its way) is reported
  // and the others are still written.
  drive_.MakeFolder("Autorun.ini");
  store.Open("Autorun", "frmAutorun").WriteInteger("rgTasks.ItemIndex", 1);
  file.WriteBool("chkFonts.Checked", false);
  EXPECT_FALSE(store.SaveAll(errors));
  EXPECT_EQ(errors.size(), 1u);
  ASSERT_TRUE(drive_.FileSystem().ReadWholeFile(drive_.Path("CleanupSettings.ini"), bytes));
  EXPECT_EQ(bytes, "[frmCleanupSettings]\r\nchkSounds.Checked=True\r\nchkFonts.Checked=False\r\n\r\n");
}

}  // namespace tidewell

namespace tidewell {

TEST(FormPlacementTest, TenNumbersInOneQuotedTextAndNothingForLess) {
  TSettingsFile settings("RegistryUndo", "frmRegistryUndo");
  StoreFormPlacement({0, 1, -1, -1, -1, -1, 120, 80, 712, 500}, settings);
  EXPECT_EQ(settings.Text(),
            "[frmRegistryUndo]\r\nFormPlacement=\"0,1,-1,-1,-1,-1,120,80,712,500\"\r\n\r\n");
  ASSERT_TRUE(ReadFormPlacement(settings));
  EXPECT_EQ((*ReadFormPlacement(settings))[8], 712);

  settings.LoadText("[frmRegistryUndo]\r\nFormPlacement=\"0,1,-1,-1,-1,-1,120,80\"\r\n");
  EXPECT_FALSE(ReadFormPlacement(settings)) << "eight numbers";
  settings.LoadText("[frmRegistryUndo]\r\nFormPlacement=\"0,1,-1,-1,-1,-1,120,80,120,80\"\r\n");
  EXPECT_FALSE(ReadFormPlacement(settings)) << "a rectangle with no area";
}

}  // namespace tidewell
