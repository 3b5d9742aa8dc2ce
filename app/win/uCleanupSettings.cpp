#include "app/win/uCleanupSettings.h"

#include <commctrl.h>
#include <richedit.h>

#include "app/ApplicationFolder.h"
#include "app/CleanupSettingsTexts.h"
#include "app/RunMode.h"
#include "platform/win/WideText.h"
#include "settings/CleanupSettingsStore.h"
#include "ui/win/ToolTips.h"

namespace tidewell {

namespace {

constexpr int kLeft = 16;
constexpr int kGroupWidth = 266;
constexpr int kRowHeight = 20;

int BoxId(TCleanupBox box) {
  return TfrmCleanupSettings::idFirstBox + static_cast<int>(box);
}

// The rich edit control comes from a library loaded on first use.
const wchar_t* RichEditClass() {
  static const bool loaded = LoadLibraryW(L"riched20.dll") != nullptr;
  return loaded ? RICHEDIT_CLASSW : L"EDIT";
}

}  // namespace

TfrmCleanupSettings::TfrmCleanupSettings(HWND owner, TAppServices& services,
                                         const TWinResources& resources)
    : TTaskForm("TfrmCleanupSettings", kCleanupSettingsCaption, owner, resources, false),
      editor_(services.FileSystem, services.Shell),
      presenter_(*this, RunMode,
                 services.Settings.Open(kCleanupSettingsStore, kCleanupSettingsSection),
                 editor_, ApplicationFolder) {
  CreateControls();
  presenter_.Created();
}

void TfrmCleanupSettings::CreateControls() {
  // Group boxes leave their inside to the window behind them: the form must
  // paint under its children here.
  SetWindowLongPtrW(Handle(), GWL_STYLE,
                    GetWindowLongPtrW(Handle(), GWL_STYLE) & ~WS_CLIPCHILDREN);
  btnNext_ = AddButton("Next", idNext, kButtonLeft + kButtonWidth + 8, kBottomButtonTop,
                       kButtonWidth, kButtonHeight);
  tooltip_ = CreateToolTips(Handle());

  // "Options": the two boxes outside the software section.
  AddControl(L"BUTTON", kOptionsGroupCaption, BS_GROUPBOX, -1, kLeft, 8, kGroupWidth, 64);
  const DWORD boxStyle = WS_TABSTOP | BS_AUTOCHECKBOX;
  int y = 28;
  for (TCleanupBox box : {TCleanupBox::ClassesSection, TCleanupBox::ClearFileList}) {
    boxes_[static_cast<int>(box)] = AddControl(L"BUTTON", CleanupBoxCaption(box), boxStyle,
                                               BoxId(box), kLeft + 12, y, 240, kRowHeight);
    y += kRowHeight;
  }

  // "Clear Software Section": a group box without text, and a check box
  // standing where its caption would be.
  gbClearSoftware_ = AddControl(L"BUTTON", "", BS_GROUPBOX, -1, kLeft, 80, kGroupWidth, 112);
  chkClearSoftware_ = AddControl(L"BUTTON", kClearSoftwareCaption, boxStyle, idClearSoftware,
                                 kLeft + 8, 78, 150, 18);
  const TCleanupBox left[] = {TCleanupBox::SharedDLL, TCleanupBox::InvalidFileAssociations,
                              TCleanupBox::WinStartup, TCleanupBox::APPPath};
  const TCleanupBox right[] = {TCleanupBox::Help, TCleanupBox::Fonts, TCleanupBox::Sounds};
  y = 100;
  for (TCleanupBox box : left) {
    boxes_[static_cast<int>(box)] = AddControl(L"BUTTON", CleanupBoxCaption(box), boxStyle,
                                               BoxId(box), kLeft + 12, y, 160, kRowHeight);
    y += kRowHeight;
  }
  y = 100;
  for (TCleanupBox box : right) {
    boxes_[static_cast<int>(box)] = AddControl(L"BUTTON", CleanupBoxCaption(box), boxStyle,
                                               BoxId(box), kLeft + 178, y, 80, kRowHeight);
    y += kRowHeight;
  }

  // "Excluded Keys": the button that opens the list, and what it is for.
  HWND group = AddControl(L"BUTTON", kExcludedKeysGroupCaption, BS_GROUPBOX, -1, kLeft, 200,
                          kGroupWidth, 96);
  HWND button = AddButton(kExcludedKeysButtonCaption, idExcludedKeys, kLeft + 12, 222, 36, 24);
  HWND note = AddLabel(ExcludedKeysHelpLines()[0] + " " + ExcludedKeysHelpLines()[1], -1,
                       kLeft + 56, 220, kGroupWidth - 66, 70);
  for (HWND control : {group, button, note}) AddHelpTip(control);

  CreateInstructions(kLeft + kGroupWidth + 14, 14, kClientWidth - kGroupWidth - kLeft * 2 - 14,
                     kBottomButtonTop - 28);
}

void TfrmCleanupSettings::AddHelpTip(HWND control) {
  std::string help;
  for (const std::string& line : ExcludedKeysHelpLines()) help += line + "\r\n";
  AddToolTip(tooltip_, Handle(), control, help);
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 360);
  SendMessageW(tooltip_, TTM_SETTITLEW, TTI_INFO,
               reinterpret_cast<LPARAM>(WideText(kExcludedKeysHelpTitle).c_str()));
}

void TfrmCleanupSettings::CreateInstructions(int x, int y, int width, int height) {
  // Paragraphs end in a lone CR: that is how the rich edit control counts
  // them, so that positions in this text are positions in the control.
  std::string text;
  for (const std::string& paragraph : CleanupInstructionParagraphs()) {
    if (!text.empty()) text += "\r\r";
    text += paragraph;
  }
  HWND edit = AddControl(RichEditClass(), "",
                         ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_BORDER,
                         idInstructions, x, y, width, height);
  SendMessageW(edit, EM_SETBKGNDCOLOR, 0, GetSysColor(COLOR_BTNFACE));
  SetWindowTextW(edit, WideText(text).c_str());
  const COLORREF orange = RGB((kHighlightColour >> 16) & 0xFF, (kHighlightColour >> 8) & 0xFF,
                              kHighlightColour & 0xFF);
  for (const std::string& word : CleanupInstructionHighlights()) {
    const std::size_t at = text.find(word);
    if (at == std::string::npos) continue;
    CHARRANGE range{static_cast<LONG>(at), static_cast<LONG>(at + word.size())};
    SendMessageW(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_BOLD | CFM_COLOR;
    format.dwEffects = CFE_BOLD;
    format.crTextColor = orange;
    SendMessageW(edit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  }
  CHARRANGE none{0, 0};
  SendMessageW(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&none));
}

void TfrmCleanupSettings::BeforeShow() {
  TTaskForm::BeforeShow();
  // The caption check box stands over the group's frame: draw it again.
  InvalidateRect(gbClearSoftware_, nullptr, TRUE);
  InvalidateRect(chkClearSoftware_, nullptr, TRUE);
}

void TfrmCleanupSettings::OnClick(int id) {
  const auto ticked = [](HWND control) {
    return SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
  };
  if (id >= idFirstBox && id < idFirstBox + kCleanupBoxCount) {
    presenter_.BoxClicked(static_cast<TCleanupBox>(id - idFirstBox),
                          ticked(boxes_[id - idFirstBox]));
    return;
  }
  switch (id) {
    case idClearSoftware:
      presenter_.GroupBoxClicked(ticked(chkClearSoftware_));
      return;
    case idExcludedKeys:
      presenter_.ExcludedKeysClicked();
      return;
    case idNext:
      presenter_.NextClicked();
      return;
    default:
      TTaskForm::OnClick(id);
  }
}

void TfrmCleanupSettings::btnBackClick() { presenter_.BackClicked(); }

void TfrmCleanupSettings::OnCloseRequest() { presenter_.CloseRequested(); }

void TfrmCleanupSettings::StoreSettings() { presenter_.StoreSettings(); }

void TfrmCleanupSettings::ShowTick(TCleanupBox box, bool ticked) {
  SendMessageW(boxes_[static_cast<int>(box)], BM_SETCHECK,
               ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TfrmCleanupSettings::ShowGroupTick(bool ticked) {
  SendMessageW(chkClearSoftware_, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TfrmCleanupSettings::EnableSoftwareBoxes(bool enabled) {
  for (int i = 0; i < kCleanupBoxCount; ++i) {
    if (IsSoftwareBox(static_cast<TCleanupBox>(i))) EnableWindow(boxes_[i], enabled);
  }
}

void TfrmCleanupSettings::CloseWindow() {
  CloseModal(RunMode == kRunModeNext ? mrOk : mrCancel);
}

}  // namespace tidewell
