#include "ui/win/SharedImages.h"

#include "ui/win/GdiObject.h"

namespace tidewell {

namespace {

constexpr int kSize = 16;
constexpr COLORREF kTransparent = RGB(255, 0, 255);

void Disc(HDC dc, int left, COLORREF colour) {
  const TBrush brush(CreateSolidBrush(colour));
  const TSelectObject withBrush(dc, brush.Get());
  const TSelectObject withPen(dc, GetStockObject(BLACK_PEN));
  Ellipse(dc, left + 1, 1, left + 15, 15);
}

void Shape(HDC dc, int left, COLORREF colour, const POINT* points, int count) {
  POINT shifted[8];
  for (int i = 0; i < count; ++i) {
    shifted[i] = {points[i].x + left, points[i].y};
  }
  const TBrush brush(CreateSolidBrush(colour));
  const TSelectObject withBrush(dc, brush.Get());
  const TSelectObject withPen(dc, GetStockObject(BLACK_PEN));
  Polygon(dc, shifted, count);
}

void Stroke(HDC dc, int left, COLORREF colour, const POINT* points, int count) {
  POINT shifted[8];
  for (int i = 0; i < count; ++i) {
    shifted[i] = {points[i].x + left, points[i].y};
  }
  const TPen pen(CreatePen(PS_SOLID, 3, colour));
  const TSelectObject withPen(dc, pen.Get());
  Polyline(dc, shifted, count);
}

void Letter(HDC dc, int left, const wchar_t* text) {
  RECT box{left, 0, left + kSize, kSize};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  DrawTextW(dc, text, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void DrawAll(HDC dc) {
  const COLORREF orange = RGB(249, 118, 0);
  const COLORREF green = RGB(40, 160, 60);
  const COLORREF red = RGB(200, 40, 40);
  const COLORREF blue = RGB(40, 90, 190);

  Disc(dc, imgWorking * kSize, orange);
  Letter(dc, imgWorking * kSize, L"\u2026");
  Disc(dc, imgIdle * kSize, green);

  const POINT cross1[] = {{3, 3}, {13, 13}};
  const POINT cross2[] = {{13, 3}, {3, 13}};
  Stroke(dc, imgDelete * kSize, red, cross1, 2);
  Stroke(dc, imgDelete * kSize, red, cross2, 2);

  const POINT play[] = {{4, 2}, {14, 8}, {4, 14}};
  Shape(dc, imgRun * kSize, green, play, 3);
  const POINT square[] = {{3, 3}, {13, 3}, {13, 13}, {3, 13}};
  Shape(dc, imgStop * kSize, red, square, 4);

  const POINT back[] = {{1, 8}, {8, 2}, {8, 5}, {15, 5},
                        {15, 11}, {8, 11}, {8, 14}};
  Shape(dc, imgBack * kSize, blue, back, 7);
  const POINT next[] = {{15, 8}, {8, 2}, {8, 5}, {1, 5},
                        {1, 11}, {8, 11}, {8, 14}};
  Shape(dc, imgNext * kSize, blue, next, 7);

  const POINT tick[] = {{2, 8}, {6, 12}, {14, 3}};
  Stroke(dc, imgTick * kSize, green, tick, 3);

  Disc(dc, imgHelp * kSize, blue);
  Letter(dc, imgHelp * kSize, L"?");

  // A stack of three cubes: the registry.
  const POINT cube1[] = {{1, 9}, {7, 9}, {7, 15}, {1, 15}};
  const POINT cube2[] = {{8, 9}, {14, 9}, {14, 15}, {8, 15}};
  const POINT cube3[] = {{4, 2}, {10, 2}, {10, 8}, {4, 8}};
  Shape(dc, imgRegistry * kSize, blue, cube1, 4);
  Shape(dc, imgRegistry * kSize, green, cube2, 4);
  Shape(dc, imgRegistry * kSize, orange, cube3, 4);
}

}  // namespace

HIMAGELIST CreateSharedImages() {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  const TBitmap strip(CreateCompatibleBitmap(screen, kSize * imgCount, kSize));
  ReleaseDC(nullptr, screen);
  {
    const TSelectObject withStrip(dc, strip.Get());
    RECT all{0, 0, kSize * imgCount, kSize};
    const TBrush background(CreateSolidBrush(kTransparent));
    FillRect(dc, &all, background.Get());
    DrawAll(dc);
  }
  DeleteDC(dc);

  HIMAGELIST images =
      ImageList_Create(kSize, kSize, ILC_COLOR24 | ILC_MASK, imgCount, 0);
  ImageList_AddMasked(images, strip.Get(), kTransparent);
  return images;
}

HIMAGELIST SingleImage(HIMAGELIST images, int index) {
  HIMAGELIST single =
      ImageList_Create(kSize, kSize, ILC_COLOR32 | ILC_MASK, 1, 0);
  const TIcon icon(ImageList_GetIcon(images, index, ILD_NORMAL));
  ImageList_AddIcon(single, icon.Get());
  return single;
}

void SetButtonPicture(HWND button, HIMAGELIST picture, int rightMargin) {
  BUTTON_IMAGELIST images{};
  images.himl = picture;
  images.uAlign = BUTTON_IMAGELIST_ALIGN_RIGHT;
  images.margin = {4, 0, rightMargin, 0};
  SendMessageW(button, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
}

}  // namespace tidewell
