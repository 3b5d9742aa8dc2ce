#include "tools/win/ToolWindowPaint.h"

#include "platform/win/WideText.h"

namespace tidewell {
namespace {

constexpr int kParagraphGap = 12;

COLORREF ColourOf(unsigned rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace

void PaintToolPanel(HDC dc, int height, HFONT titleFont, const std::string& title,
                    int titleBottom) {
  SetBkMode(dc, TRANSPARENT);
  RECT panel{0, 0, kToolPanelWidth, height};
  FillRect(dc, &panel, GetSysColorBrush(COLOR_3DSHADOW));
  TSelectObject select(dc, titleFont);
  SetTextColor(dc, RGB(255, 255, 255));
  const std::wstring text = WideText(title);
  TextOutW(dc, 46, titleBottom, text.c_str(), static_cast<int>(text.size()));
}

void PaintInstructions(HDC dc, HFONT font, HFONT boldFont,
                       const std::vector<std::vector<TTextRun>>& paragraphs, int left,
                       int top, int right) {
  SetBkMode(dc, TRANSPARENT);
  int y = top;
  TEXTMETRICW metrics{};
  {
    TSelectObject select(dc, font);
    GetTextMetricsW(dc, &metrics);
  }
  const int lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
  for (const auto& paragraph : paragraphs) {
    int x = left;
    for (const TTextRun& run : paragraph) {
      const bool emphasised = run.Style == TTextRun::TStyle::RunWord;
      TSelectObject select(dc, emphasised ? boldFont : font);
      SetTextColor(dc, run.Style == TTextRun::TStyle::RunWord ? ColourOf(kRunWordColour)
                       : run.Style == TTextRun::TStyle::Folder
                           ? ColourOf(kFolderColour)
                           : GetSysColor(COLOR_WINDOWTEXT));
      const std::wstring text = WideText(run.Text);
      std::size_t at = 0;
      while (at < text.size()) {
        if (text[at] == L'\n') {
          x = left;
          y += lineHeight;
          ++at;
          continue;
        }
        // One word with the blanks after it.
        std::size_t end = text.find_first_of(L" \n", at);
        if (end == std::wstring::npos) end = text.size();
        while (end < text.size() && text[end] == L' ') ++end;
        const std::wstring word = text.substr(at, end - at);
        SIZE size{};
        GetTextExtentPoint32W(dc, word.c_str(), static_cast<int>(word.size()), &size);
        if (x + size.cx > right && x > left) {
          x = left;
          y += lineHeight;
        }
        TextOutW(dc, x, y, word.c_str(), static_cast<int>(word.size()));
        x += size.cx;
        at = end;
      }
    }
    y += lineHeight + kParagraphGap;
  }
}

}  // namespace tidewell
