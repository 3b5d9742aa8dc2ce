#include "tools/win/uRegistryBackup.h"

#include <vector>

#include "app/ApplicationFolder.h"
#include "app/RunMode.h"
#include "platform/win/WideText.h"
#include "ui/win/SharedImages.h"

namespace tidewell {
namespace {

constexpr int kPanelWidth = 132;  // the left panel: title and buttons
constexpr int kTextLeft = kPanelWidth + 16;
constexpr int kTextTop = 24;
constexpr int kTextRight = TTaskForm::kClientWidth - 20;
constexpr int kParagraphGap = 12;
constexpr const char* kTitle = "Registry Backup";

COLORREF ColourOf(unsigned rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

TFont FontLike(HFONT base, int weight, int height, int escapement) {
  LOGFONTW font{};
  GetObjectW(base, sizeof font, &font);
  font.lfWeight = weight;
  if (height != 0) font.lfHeight = height;
  font.lfEscapement = escapement;
  font.lfOrientation = escapement;
  TFont made;
  made.Reset(CreateFontIndirectW(&font));
  return made;
}

}  // namespace

TfrmRegistryBackup::TfrmRegistryBackup(HWND owner, TAppServices& services,
                                       const TWinResources& resources)
    : TTaskForm("TfrmRegistryBackup", kTitle, owner, resources, true),
      services_(services),
      presenter_(
          *this,
          [this] {
            TRegistryBackupSystem system{services_.FileSystem, processes_, services_.Clock};
            return BackUpRegistry(system, ApplicationFolder);
          },
          [] { return RunMode == kRunModeAutorun; }) {
  boldFont_ = FontLike(Font(), FW_BOLD, 0, 0);
  // Bottom to top, as tall as the panel allows.
  titleFont_ = FontLike(Font(), FW_BOLD, -26, 900);
  btnRun_ = AddButton("Run", idRun, kButtonLeft, kBottomButtonTop - kButtonHeight - 10,
                      kButtonWidth, kButtonHeight);
  for (HWND button : {btnBack(), btnRun_}) {
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.Get()), TRUE);
  }
  if (resources.ImageList1 != nullptr) {
    runImage_.Reset(SingleImage(resources.ImageList1, imgRun));
    BUTTON_IMAGELIST images{};
    images.himl = runImage_.Get();
    images.uAlign = BUTTON_IMAGELIST_ALIGN_RIGHT;
    images.margin = {4, 0, 6, 0};
    SendMessageW(btnRun_, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
  }
}

TfrmRegistryBackup::~TfrmRegistryBackup() {
  // The buttons go before the fonts and the picture they use.
  DestroyHandle();
}

void TfrmRegistryBackup::BeforeShow() {
  TTaskForm::BeforeShow();
  // The folder shown may have changed since the last showing.
  InvalidateRect(Handle(), nullptr, TRUE);
  presenter_.Shown();
}

void TfrmRegistryBackup::OnClick(int id) {
  if (id == idRun) {
    presenter_.RunClicked();
  } else {
    TTaskForm::OnClick(id);
  }
}

void TfrmRegistryBackup::btnBackClick() { presenter_.BackClicked(); }

LRESULT TfrmRegistryBackup::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == tmrAfterShow) {
        presenter_.AfterShowTimer();
        return 0;
      }
      break;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(Handle(), &paint);
      Paint(dc);
      EndPaint(Handle(), &paint);
      return 0;
    }
    default:
      break;
  }
  return TTaskForm::WndProc(message, wParam, lParam);
}

void TfrmRegistryBackup::Paint(HDC dc) {
  SetBkMode(dc, TRANSPARENT);
  // The left panel, a shade darker, with the title read from the bottom up.
  RECT panel{0, 0, kPanelWidth, kClientHeight};
  FillRect(dc, &panel, GetSysColorBrush(COLOR_3DSHADOW));
  {
    TSelectObject select(dc, titleFont_.Get());
    SetTextColor(dc, RGB(255, 255, 255));
    const std::wstring title = WideText(kTitle);
    TextOutW(dc, 46, kBottomButtonTop - kButtonHeight - 22, title.c_str(),
             static_cast<int>(title.size()));
  }

  // The instruction text: runs laid out word by word, wrapped at the right
  // edge; a "\n" in a run starts a new line.
  int y = kTextTop;
  TEXTMETRICW metrics{};
  {
    TSelectObject select(dc, Font());
    GetTextMetricsW(dc, &metrics);
  }
  const int lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
  for (const auto& paragraph :
       RegistryBackupInstructions(RegistryBackupFolder(ApplicationFolder))) {
    int x = kTextLeft;
    for (const TTextRun& run : paragraph) {
      const bool emphasised = run.Style == TTextRun::TStyle::RunWord;
      TSelectObject select(dc, emphasised ? boldFont_.Get() : Font());
      SetTextColor(dc, run.Style == TTextRun::TStyle::RunWord ? ColourOf(kRunWordColour)
                       : run.Style == TTextRun::TStyle::Folder
                           ? ColourOf(kFolderColour)
                           : GetSysColor(COLOR_WINDOWTEXT));
      const std::wstring text = WideText(run.Text);
      std::size_t at = 0;
      while (at < text.size()) {
        if (text[at] == L'\n') {
          x = kTextLeft;
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
        if (x + size.cx > kTextRight && x > kTextLeft) {
          x = kTextLeft;
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

void TfrmRegistryBackup::SetButtonsEnabled(bool enabled) {
  EnableWindow(btnBack(), enabled);
  EnableWindow(btnRun_, enabled);
}

void TfrmRegistryBackup::ShowMessage(const std::string& text) {
  MessageBoxW(Handle(), WideText(text).c_str(),
              WideText(services_.ApplicationTitle).c_str(), MB_OK);
}

void TfrmRegistryBackup::StartAfterShowTimer() {
  SetTimer(Handle(), tmrAfterShow, kAfterShowMilliseconds, nullptr);
}

void TfrmRegistryBackup::StopAfterShowTimer() { KillTimer(Handle(), tmrAfterShow); }

bool TfrmRegistryBackup::IsVisible() { return IsWindowVisible(Handle()) != FALSE; }

void TfrmRegistryBackup::Close() { CloseModal(mrCancel); }

}  // namespace tidewell
