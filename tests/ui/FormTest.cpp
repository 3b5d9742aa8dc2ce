// The window toolkit's promise to every window: a handler that fails does not
// take the program down, and the window goes on taking messages.
#include <windows.h>

#include <stdexcept>

#include <gtest/gtest.h>

#include "ui/win/Form.h"

namespace tidewell {
namespace {

class TThrowingForm final : public TForm {
 public:
  TThrowingForm() : TForm("TwThrowingForm", "Throwing", nullptr, 200, 100) {}
  int Clicks = 0;

 protected:
  void OnClick(int id) override {
    ++Clicks;
    if (id == 1) throw std::runtime_error("a handler failed");
    if (id == 2) throw 42;  // not even an exception class
  }
  void OnCloseRequest() override { throw std::runtime_error("closing failed"); }
};

TEST(FormTest, AFailingHandlerStopsAtTheWindowWhichStaysUsable) {
  TThrowingForm form;
  ASSERT_NE(form.Handle(), nullptr);
  for (int id : {1, 2, 3}) {
    EXPECT_EQ(SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0), 0);
  }
  EXPECT_EQ(form.Clicks, 3);
  // A failed close handler leaves the window as it was, not half-destroyed.
  SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(form.Handle()));
  SetWindowTextW(form.Handle(), L"still here");
  wchar_t text[32] = {};
  GetWindowTextW(form.Handle(), text, 32);
  EXPECT_STREQ(text, L"still here");
}

}  // namespace
}  // namespace tidewell
