#include "app/win/uMain.h"

#include <shellapi.h>

#include "app/ApplicationFolder.h"
#include "ui/win/HelpPopup.h"
#include "app/MainWindowTexts.h"
#include "app/win/NTSetPrivilege.h"
#include "app/RegistryNote.h"
#include "app/RunMode.h"
#include "app/RunOnce.h"
#include "ui/win/SharedImages.h"
#include "app/StartupPrivileges.h"
#include "platform/win/WideText.h"
#include "ui/win/ToolTips.h"

namespace tidewell {

namespace {

// The maker's site, opened by the banner and the copyright line.
constexpr const wchar_t* kMakerSite = L"https://www.palvorin.example/tidewell";

constexpr int kButtonLeft = 16;
constexpr int kButtonTop = 80;
constexpr int kButtonWidth = 170;
constexpr int kButtonHeight = 30;
constexpr int kButtonPitch = 38;

// The launcher's own pictures, right of each button's caption.
constexpr int kButtonPictures[7] = {imgRegistry, imgDelete, imgWorking,
                                    imgRun,      imgBack,   imgHelp,
                                    imgStop};

}  // namespace

TfrmMain::TfrmMain(TAppServices& services, const TVersionInfo& version,
                   const std::string& programFile,
                   std::function<TForm*(TFormKind)> findForm,
                   TTaskWindowReports& reports)
    : TForm(FormClassName(TFormKind::Main), "", nullptr, kClientWidth,
            kClientHeight),
      services_(services),
      version_(version),
      programFile_(programFile),
      findForm_(std::move(findForm)),
      reports_(reports),
      launcher_(*this, RunMode, services.ExitWin) {}

// The window and its buttons go before the pictures and fonts they show.
TfrmMain::~TfrmMain() { DestroyHandle(); }

bool TfrmMain::Create() {
  if (!CreateMainWindow(*this, version_.ProductName, version_.FileVersion)) {
    return false;
  }
  CreateControls();
  CentreOn(nullptr);
  return true;
}

void TfrmMain::Show() {
  FormShow();
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
}

// ---- creation steps -------------------------------------------------------

bool TfrmMain::SingleInstanceGuard() {
  if (guard_.Acquire(services_.ApplicationTitle)) return true;
  MessageBoxW(nullptr, WideText(kAlreadyRunningMessage).c_str(),
              WideText(services_.ApplicationTitle).c_str(),
              MB_OK | MB_ICONWARNING);
  BringOtherInstanceForward(FormClassName(TFormKind::Main),
                            MainCaption(version_.ProductName,
                                        version_.FileVersion));
  return false;
}

void TfrmMain::RunOnceCleanup() {
  tidewell::RunOnceCleanup(services_.Registry, programFile_);
}

void TfrmMain::SetIconFromApplication() {
  HICON icon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
  SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void TfrmMain::SetCaption(const std::string& caption) {
  SetWindowTextW(Handle(), WideText(caption).c_str());
}

void TfrmMain::EnablePrivileges() {
  EnableStartupPrivileges(
      [](const std::string& privilege) { NTSetPrivilege(privilege, true); });
}

void TfrmMain::SetApplicationFolder() {
  ApplicationFolder = ApplicationFolderOf(programFile_);
}

void TfrmMain::WriteRegistryNote() {
  tidewell::WriteRegistryNote(services_.Registry, ShortProgramPath());
}

std::string TfrmMain::ShortProgramPath() const {
  return services_.FileSystem.ShortPathName(programFile_);
}

// ---- layout ---------------------------------------------------------------

void TfrmMain::CreateControls() {
  imageList1_.Reset(CreateSharedImages());
  resources_.ImageList1 = imageList1_.Get();
  white_.Reset(CreateSolidBrush(RGB(255, 255, 255)));

  LOGFONTW banner{};
  GetObjectW(Font(), sizeof(banner), &banner);
  banner.lfHeight = -26;
  banner.lfWeight = FW_BOLD;
  bannerFont_.Reset(CreateFontIndirectW(&banner));
  HWND bannerLabel = AddLabel("  Palvorin Tidewell", idBanner, 0, 0,
                              kClientWidth, 64, SS_NOTIFY | SS_CENTERIMAGE);
  SendMessageW(bannerLabel, WM_SETFONT, reinterpret_cast<WPARAM>(bannerFont_.Get()),
               TRUE);

  HWND tooltip = CreateToolTips(Handle());
  int row = 0;
  for (const TMainButtonText& text : MainButtonTexts()) {
    HWND button = AddButton(text.Caption, idFirstButton + row, kButtonLeft,
                            kButtonTop + row * kButtonPitch, kButtonWidth,
                            kButtonHeight);
    SetWindowLongPtrW(button, GWL_STYLE,
                      GetWindowLongPtrW(button, GWL_STYLE) | BS_LEFT);
    buttonImages_[row].Reset(SingleImage(imageList1_.Get(), kButtonPictures[row]));
    SetButtonPicture(button, buttonImages_[row].Get(), 8);
    if (text.ShortHelp[0] != '\0') AddToolTip(tooltip, Handle(), button, text.ShortHelp);
    ++row;
  }

  AddLabel(WelcomeText(), idWelcome, 220, 96, 326, 120);
  AddButton("?", idHint, 220, 296, 32, 28);
  urlCopyright_ = AddLabel("", idCopyright, 264, 302, 286, 20, SS_NOTIFY);
}

void TfrmMain::FormShow() {
  SetWindowTextW(urlCopyright_, WideText(version_.LegalCopyright).c_str());
}

// ---- actions --------------------------------------------------------------

void TfrmMain::OnClick(int id) {
  if (InHelpMode()) return;
  const int row = id - idFirstButton;
  if (row >= 0 && row < static_cast<int>(MainButtonTexts().size())) {
    launcher_.Click(MainButtonTexts()[static_cast<std::size_t>(row)].Button);
  } else if (id == idHint) {
    btnHintClick();
  } else if (id == idCopyright || id == idBanner) {
    OpenMakerSite();
  }
}

void TfrmMain::ShowModal(TFormKind form) {
  TForm* window = findForm_(form);
  if (window != nullptr) window->ShowModal();
}

void TfrmMain::CloseMain() { OnCloseRequest(); }

TAutorunChoice TfrmMain::AutorunChoice() { return reports_.AutorunChoice(); }

bool TfrmMain::AutoRunFailed(TFormKind form) { return reports_.AutoRunFailed(form); }

void TfrmMain::ProcessMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The program's own loop must still see it.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void TfrmMain::ShowMessage(const std::string& text) {
  MessageBoxW(Handle(), WideText(text).c_str(), WideText(services_.ApplicationTitle).c_str(),
              MB_OK | MB_ICONWARNING);
}

void TfrmMain::OnCloseRequest() {
  FormClose();
  ShowWindow(Handle(), SW_HIDE);
  PostQuitMessage(0);
}

void TfrmMain::FormClose() {
  try {
    WriteRegistryNoteOnClose(services_.Registry, ShortProgramPath());
  } catch (const std::exception&) {
    // The note is a courtesy to other programs; ending must not fail on it.
  }
}

void TfrmMain::OpenMakerSite() {
  ShellExecuteW(Handle(), L"open", kMakerSite, nullptr, nullptr, SW_SHOWNORMAL);
}

// ---- "What's This?" -------------------------------------------------------

void TfrmMain::btnHintClick() { StartHelpMode(); }

std::string TfrmMain::HelpTextOf(int id) const {
  const int row = id - idFirstButton;
  if (row >= 0 && row < static_cast<int>(MainButtonTexts().size())) {
    return MainButtonTexts()[static_cast<std::size_t>(row)].HelpText;
  }
  if (id == idHint) return HintButtonHelpText();
  return "";
}

void TfrmMain::ShowHelpAt(POINT clientPoint) {
  HWND child = ChildWindowFromPointEx(Handle(), clientPoint,
                                      CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
  if (child == nullptr || child == Handle()) return;
  const std::string text = HelpTextOf(GetDlgCtrlID(child));
  if (text.empty()) return;
  POINT at = clientPoint;
  ClientToScreen(Handle(), &at);
  ShowHelpPopup(Handle(), text, POINT{at.x + 8, at.y + 8});
}

void TfrmMain::Paint(HDC dc) {
  // The etched frame round the welcome area.
  RECT frame{204, 80, 562, 338};
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
}

LRESULT TfrmMain::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CTLCOLORSTATIC: {
      HWND control = reinterpret_cast<HWND>(lParam);
      HDC dc = reinterpret_cast<HDC>(wParam);
      if (control == urlCopyright_) {
        SetTextColor(dc, RGB(0, 0, 204));
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      if (GetDlgCtrlID(control) == idBanner) {
        SetTextColor(dc, RGB(40, 90, 190));
        SetBkColor(dc, RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(white_.Get());
      }
      break;
    }
    default:
      break;
  }
  return TForm::WndProc(message, wParam, lParam);
}

}  // namespace tidewell
