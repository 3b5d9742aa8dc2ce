// The program's entry: common controls, DPI awareness, then the run.
#include <windows.h>
#include <commctrl.h>

#include "app/ProgramRun.h"
#include "app/win/WinProgram.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  SetProcessDPIAware();
  INITCOMMONCONTROLSEX controls{sizeof(controls),
                                ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  tidewell::TWinProgram program;
  return tidewell::RunProgram(program);
}
