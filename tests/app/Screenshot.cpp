#include "tests/app/Screenshot.h"

#include <windows.h>

#include <fstream>
#include <vector>

#include "platform/win/WideText.h"
#include "tests/app/WindowDriver.h"

namespace tidewell::testing {

std::string ArtifactsFolder() {
  std::string bin = FileNextToTest("");
  bin.pop_back();  // the backslash after "bin"
  std::string folder = bin.substr(0, bin.find_last_of('\\') + 1) + "artifacts";
  CreateDirectoryW(WideText(folder).c_str(), nullptr);
  return folder + "\\";
}

bool SaveScreenshot(const std::string& path) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap =
      CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  const bool copied =
      BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY) != FALSE;
  GdiFlush();

  const DWORD rowBytes = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
  const DWORD imageBytes = rowBytes * static_cast<DWORD>(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
  file.bfSize = file.bfOffBits + imageBytes;
  info.bmiHeader.biSizeImage = imageBytes;

  bool saved = false;
  if (copied && bits != nullptr) {
    std::ofstream out(WideText(path).c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&info.bmiHeader),
              sizeof(info.bmiHeader));
    out.write(static_cast<const char*>(bits), imageBytes);
    saved = out.good();
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return saved;
}

}  // namespace tidewell::testing
