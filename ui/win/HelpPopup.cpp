#include "ui/win/HelpPopup.h"

#include "ui/win/GdiObject.h"
#include "ui/win/WindowText.h"

namespace tidewell {

namespace {

constexpr int kMargin = 6;

HFONT PopupFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  return CreateFontIndirectW(&metrics.lfStatusFont);
}

RECT TextBox(HWND popup) {
  RECT client{};
  GetClientRect(popup, &client);
  InflateRect(&client, -kMargin, -kMargin);
  return client;
}

LRESULT CALLBACK PopupProc(HWND popup, UINT message, WPARAM wParam,
                           LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(popup, &paint);
      {
        const TFont font(PopupFont());
        const TSelectObject withFont(dc, font.Get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
        const std::wstring text = WideText(WindowText(popup));
        RECT box = TextBox(popup);
        DrawTextW(dc, text.c_str(), -1, &box, DT_WORDBREAK | DT_NOPREFIX);
      }
      EndPaint(popup, &paint);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_KEYDOWN:
      DestroyWindow(popup);
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != popup) DestroyWindow(popup);
      return 0;
    default:
      return DefWindowProcW(popup, message, wParam, lParam);
  }
}

void RegisterPopupClass() {
  WNDCLASSEXW windowClass{};
  if (GetClassInfoExW(GetModuleHandleW(nullptr), kHelpPopupClass,
                      &windowClass)) {
    return;
  }
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_DROPSHADOW;
  windowClass.lpfnWndProc = PopupProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1);
  windowClass.lpszClassName = kHelpPopupClass;
  RegisterClassExW(&windowClass);
}

}  // namespace

void ShowHelpPopup(HWND owner, const std::string& text, POINT at, int textWidth) {
  RegisterPopupClass();
  const std::wstring wide = WideText(text);

  HDC dc = GetDC(owner);
  RECT box{0, 0, textWidth, 0};
  {
    const TFont font(PopupFont());
    const TSelectObject withFont(dc, font.Get());
    DrawTextW(dc, wide.c_str(), -1, &box,
              DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
  }
  ReleaseDC(owner, dc);

  const int width = box.right + 2 * kMargin + 2;
  const int height = box.bottom + 2 * kMargin + 2;
  HWND popup = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
                               kHelpPopupClass, wide.c_str(),
                               WS_POPUP | WS_BORDER, at.x, at.y, width, height,
                               owner, nullptr, GetModuleHandleW(nullptr),
                               nullptr);
  ShowWindow(popup, SW_SHOWNOACTIVATE);
  // Any later click, wherever it lands, closes the pop-up.
  SetCapture(popup);
}

}  // namespace tidewell
