// A stand-in for the text editor that the shell opens ExcludedKeys.txt with:
// a window whose class the test looks for and whose caption is the document
// it was given. It runs until the test closes it.
#include <windows.h>

namespace {

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = StandInProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"TidewellEditorStandIn";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowW(L"TidewellEditorStandIn", commandLine, WS_OVERLAPPEDWINDOW,
                              40, 40, 300, 100, nullptr, nullptr, instance, nullptr);
  ShowWindow(window, SW_SHOWNORMAL);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
