#include "ui/win/Form.h"

#include <exception>
#include <string>

#include "platform/win/WideText.h"

namespace tidewell {

namespace {

constexpr DWORD kFormStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT;
// Posted to start "What's This?" mode, so that it starts only after the
// click that asked for it has ended (which releases the mouse capture).
constexpr UINT kEnterHelpMode = WM_APP + 1;

void RegisterFormClass(const std::wstring& className) {
  WNDCLASSEXW windowClass{};
  if (GetClassInfoExW(GetModuleHandleW(nullptr), className.c_str(),
                      &windowClass)) {
    return;
  }
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = DefWindowProcW;  // replaced per window
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.hIcon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
  windowClass.lpszClassName = className.c_str();
  RegisterClassExW(&windowClass);
}

// Handler failures are swallowed; a debugger still sees them.
void ReportHandlerFailure(UINT message, const char* what) {
  OutputDebugStringW(WideText("Tidewell: a handler of message " +
                              std::to_string(message) + " failed: " + what + "\n")
                         .c_str());
}

}  // namespace

TForm::TForm(const char* className, const std::string& caption, HWND owner,
             int clientWidth, int clientHeight) {
  const std::wstring wideClass = WideText(className);
  RegisterFormClass(wideClass);
  RECT frame{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&frame, kFormStyle, FALSE, kFormExStyle);
  handle_ = CreateWindowExW(kFormExStyle, wideClass.c_str(),
                            WideText(caption).c_str(), kFormStyle,
                            CW_USEDEFAULT, CW_USEDEFAULT,
                            frame.right - frame.left, frame.bottom - frame.top,
                            owner, nullptr, GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(handle_, GWLP_WNDPROC,
                    reinterpret_cast<LONG_PTR>(&TForm::StaticWndProc));

  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  font_.Reset(CreateFontIndirectW(&metrics.lfMessageFont));
}

TForm::~TForm() { DestroyHandle(); }

void TForm::DestroyHandle() {
  if (handle_ == nullptr) return;
  SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
  DestroyWindow(handle_);
  handle_ = nullptr;
}

void TForm::CentreOn(HWND over) {
  RECT area{};
  if (over != nullptr) {
    GetWindowRect(over, &area);
  } else {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  }
  RECT own{};
  GetWindowRect(handle_, &own);
  const int width = own.right - own.left;
  const int height = own.bottom - own.top;
  SetWindowPos(handle_, nullptr,
               area.left + (area.right - area.left - width) / 2,
               area.top + (area.bottom - area.top - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND TForm::AddControl(const wchar_t* windowClass, const std::string& text,
                       DWORD style, int id, int x, int y, int width,
                       int height) {
  HWND control = CreateWindowExW(
      0, windowClass, WideText(text).c_str(), WS_CHILD | WS_VISIBLE | style, x,
      y, width, height, handle_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
  return control;
}

HWND TForm::AddButton(const std::string& text, int id, int x, int y, int width,
                      int height) {
  return AddControl(L"BUTTON", text, WS_TABSTOP | BS_PUSHBUTTON, id, x, y,
                    width, height);
}

HWND TForm::AddLabel(const std::string& text, int id, int x, int y, int width,
                     int height, DWORD extraStyle) {
  return AddControl(L"STATIC", text, SS_LEFT | extraStyle, id, x, y, width,
                    height);
}

int TForm::ShowModal() {
  HWND owner = GetWindow(handle_, GW_OWNER);
  if (owner != nullptr) EnableWindow(owner, FALSE);
  modal_ = true;
  modalResult_ = mrNone;
  BeforeShow();
  ShowWindow(handle_, SW_SHOW);
  SetForegroundWindow(handle_);

  MSG message;
  while (modalResult_ == mrNone) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      // The program is ending: leave the quit for the main loop.
      PostQuitMessage(static_cast<int>(message.wParam));
      modalResult_ = mrCancel;
      break;
    }
    if (got == -1) {
      modalResult_ = mrCancel;
      break;
    }
    if (!IsDialogMessageW(handle_, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }

  // Enable the owner before hiding, so that activation returns to it.
  if (owner != nullptr) EnableWindow(owner, TRUE);
  ShowWindow(handle_, SW_HIDE);
  if (owner != nullptr) SetForegroundWindow(owner);
  modal_ = false;
  return modalResult_;
}

void TForm::CloseModal(int result) {
  if (modal_) {
    modalResult_ = result == mrNone ? mrCancel : result;
  } else {
    ShowWindow(handle_, SW_HIDE);
  }
}

void TForm::BeforeShow() {}

void TForm::OnClick(int) {}

void TForm::OnCloseRequest() { CloseModal(mrCancel); }

void TForm::Paint(HDC) {}

void TForm::StartHelpMode() { PostMessageW(handle_, kEnterHelpMode, 0, 0); }

void TForm::ShowHelpAt(POINT) {}

LRESULT TForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == STN_CLICKED) {
        OnClick(LOWORD(wParam));
        return 0;
      }
      break;
    case WM_CLOSE:
      OnCloseRequest();
      return 0;
    case kEnterHelpMode:
      helpMode_ = true;
      SetCapture(handle_);
      SetCursor(LoadCursorW(nullptr, IDC_HELP));
      return 0;
    case WM_SETCURSOR:
      if (helpMode_) {
        SetCursor(LoadCursorW(nullptr, IDC_HELP));
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
      if (helpMode_) {
        helpMode_ = false;
        ReleaseCapture();
        ShowHelpAt(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      // Another window took the mouse: the help click will not come.
      helpMode_ = false;
      break;
    case WM_PAINT: {
      // What DefWindowProcW would do, with the window's own drawing between.
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(handle_, &paint);
      Paint(dc);
      EndPaint(handle_, &paint);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(handle_, message, wParam, lParam);
}

LRESULT CALLBACK TForm::StaticWndProc(HWND window, UINT message, WPARAM wParam,
                                      LPARAM lParam) {
  auto* form =
      reinterpret_cast<TForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (form == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  // The one place where a handler's failure stops: letting it unwind through
  // DispatchMessageW (system code) is undefined, and the window must stay
  // usable. The message counts as handled; for WM_CLOSE that keeps the window.
  try {
    return form->WndProc(message, wParam, lParam);
  } catch (const std::exception& failure) {
    ReportHandlerFailure(message, failure.what());
  } catch (...) {
    ReportHandlerFailure(message, "unknown failure");
  }
  return 0;
}

}  // namespace tidewell
