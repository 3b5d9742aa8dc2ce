// TForm: one top-level window of the program with its controls, a window class
// of its own (named after the form, so that it can be found by class), and a
// modal showing that disables the owner and runs a nested message loop until
// the form closes. A modal form is hidden, not destroyed, when it closes, so
// that it keeps its state for the next showing.
#pragma once

#include <windows.h>

#include <string>

#include "ui/win/GdiObject.h"

namespace tidewell {

// Modal results.
inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;

class TForm {
 public:
  virtual ~TForm();
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  HWND Handle() const { return handle_; }
  // Shows the form modally over its owner and returns its modal result.
  int ShowModal();
  // Ends a modal showing with the result; hides a form shown modelessly.
  void CloseModal(int result);
  bool IsModal() const { return modal_; }
  // Destroys the window now (the program's end); the object stays.
  void DestroyHandle();

 protected:
  // Creates the window with a client area of the given size, not shown.
  // Fixed size, minimise button, no maximise button.
  TForm(const char* className, const std::string& caption, HWND owner,
        int clientWidth, int clientHeight);

  // Centres the window on the screen's work area, or over `over`.
  void CentreOn(HWND over);

  HWND AddControl(const wchar_t* windowClass, const std::string& text,
                  DWORD style, int id, int x, int y, int width, int height);
  HWND AddButton(const std::string& text, int id, int x, int y, int width,
                 int height);
  HWND AddLabel(const std::string& text, int id, int x, int y, int width,
                int height, DWORD extraStyle = 0);

  // Called by ShowModal just before the window appears.
  virtual void BeforeShow();
  // A control's click (BN_CLICKED or STN_CLICKED).
  virtual void OnClick(int id);
  // WM_CLOSE from the title bar or the system menu.
  virtual void OnCloseRequest();
  // Draws what the window shows besides its controls, between BeginPaint and
  // EndPaint; nothing unless a window overrides it.
  virtual void Paint(HDC dc);

  // "What's This?": the next click on the window shows the help of what lies
  // under it (ShowHelpAt) instead of clicking it. Posted, so that the click
  // that asked for it has ended first.
  void StartHelpMode();
  bool InHelpMode() const { return helpMode_; }
  // The help of whatever lies at `clientPoint`; nothing unless overridden.
  virtual void ShowHelpAt(POINT clientPoint);
  virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);

  HFONT Font() const { return font_.Get(); }

 private:
  static LRESULT CALLBACK StaticWndProc(HWND window, UINT message,
                                        WPARAM wParam, LPARAM lParam);

  HWND handle_ = nullptr;
  TFont font_;
  bool modal_ = false;
  int modalResult_ = mrNone;
  bool helpMode_ = false;
};

}  // namespace tidewell
