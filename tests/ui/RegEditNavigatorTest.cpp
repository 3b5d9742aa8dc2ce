// OpenRegEditWithKey against the system registry editor itself: started when
// none runs, walked to the key in its tree and to the value in its list,
// whatever the letter case of the names asked for.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "tests/app/WindowDriver.h"
#include "tests/support/RegistryFixture.h"
#include "tests/support/TestRegistry.h"
#include "ui/win/RegEditNavigator.h"

namespace tidewell {
namespace {

using namespace tidewell::testing;

TEST(RegEditNavigator, OpensTheEditorAtTheKeyAndSelectsTheValue) {
  if (std::getenv("TIDEWELL_TEST_PREFIX") == nullptr) {
    std::fprintf(stderr, "Run through scripts/wine-run.sh --gui.\n");
    std::abort();
  }
  std::unique_ptr<RegistryStore> store = MakeTestRegistryStore();
  SandboxKey sandbox(*store, TRootKey::CurrentUser, "RegEditNavigator");
  const std::string key = "HKEY_CURRENT_USER\\" + sandbox.Path() + "\\Outer\\Inner";
  LoadRegistryFixture(*store, "[" + key + "]\n\"Alpha\"=\"1\"\n\"Pick Me\"=\"2\"\n\"Zed\"=\"3\"\n");
  ASSERT_EQ(FindRegEditWindow(), nullptr);

  std::string asked = key;
  for (char& c : asked) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  ASSERT_TRUE(OpenRegEditWithKey("  " + asked + "  ", "pick me"));

  HWND editor = FindRegEditWindow();
  ASSERT_NE(editor, nullptr) << "the editor was started";
  HWND status = FindDescendantOfClass(editor, STATUSCLASSNAMEW);
  HWND list = FindDescendantOfClass(editor, WC_LISTVIEWW);
  ASSERT_NE(status, nullptr);
  ASSERT_NE(list, nullptr);
  // The editor names the selected key in its status bar.
  const std::string shown = TextOf(status);
  ASSERT_GE(shown.size(), key.size()) << shown;
  EXPECT_EQ(shown.substr(shown.size() - key.size()), key);
  const int row = static_cast<int>(
      SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  ASSERT_GE(row, 0);
  EXPECT_EQ(ListViewCell(list, row, 0), "Pick Me");

  // A second call finds the running editor; a missing key stops at its parent.
  EXPECT_TRUE(OpenRegEditWithKey(key + "\\Missing", ""));
  EXPECT_EQ(FindRegEditWindow(), editor);
  const std::string after = TextOf(status);
  EXPECT_EQ(after.substr(after.size() - key.size()), key);

  DWORD processId = 0;
  GetWindowThreadProcessId(editor, &processId);
  PostMessageW(editor, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitForWindowGone(processId, "RegEdit_RegEdit"));
}

}  // namespace
}  // namespace tidewell
