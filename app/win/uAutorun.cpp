#include "app/win/uAutorun.h"

#include <commctrl.h>
#include <richedit.h>

#include <vector>

#include "app/RunMode.h"
#include "platform/win/WideText.h"
#include "ui/win/SharedImages.h"
#include "ui/win/ToolTips.h"

namespace tidewell {

namespace {

constexpr int kLeft = 16;
constexpr int kGroupWidth = 250;
constexpr int kGroupHeight = 104;
constexpr int kRowHeight = 22;

// The rich edit control comes from a library loaded on first use.
const wchar_t* RichEditClass() {
  static const bool loaded = LoadLibraryW(L"riched20.dll") != nullptr;
  return loaded ? RICHEDIT_CLASSW : L"EDIT";
}

COLORREF ColourOf(unsigned rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace

TfrmAutorun::TfrmAutorun(HWND owner, TAppServices& services, const TWinResources& resources)
    : TTaskForm("TfrmAutorun", kAutorunCaption, owner, resources, true),
      presenter_(*this, RunMode,
                 services.Settings.Open(kAutorunSettingsStore, kAutorunSettingsSection)) {
  CreateControls();
  if (resources.ImageList1 != nullptr) {
    runImage_.Reset(SingleImage(resources.ImageList1, imgRun));
    SetButtonPicture(btnRun_, runImage_.Get());
  }
  presenter_.Created();
}

TfrmAutorun::~TfrmAutorun() {
  // The Run button goes before its picture.
  DestroyHandle();
}

void TfrmAutorun::CreateControls() {
  // Group boxes leave their inside to the window behind them: the form must
  // paint under its children here.
  SetWindowLongPtrW(Handle(), GWL_STYLE,
                    GetWindowLongPtrW(Handle(), GWL_STYLE) & ~WS_CLIPCHILDREN);
  btnRun_ = AddButton("Run", idRun, kButtonLeft + kButtonWidth + 8, kBottomButtonTop,
                      kButtonWidth, kButtonHeight);
  HWND tooltip = CreateToolTips(Handle());

  const auto addGroup = [&](const char* caption, const auto& items, int firstId, int top) {
    HWND group = AddControl(L"BUTTON", caption, BS_GROUPBOX, -1, kLeft, top, kGroupWidth,
                            kGroupHeight);
    std::vector<HWND> controls{group};
    int y = top + 22;
    for (std::size_t i = 0; i < items.size(); ++i) {
      // WS_GROUP on each group's first button keeps the two groups apart.
      const DWORD style = WS_TABSTOP | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP : 0);
      controls.push_back(AddControl(L"BUTTON", items[i], style, firstId + static_cast<int>(i),
                                    kLeft + 14, y, kGroupWidth - 28, kRowHeight));
      y += kRowHeight + 2;
    }
    return controls;
  };
  addGroup(kTasksGroupCaption, kTaskItems, idFirstTask, 12);
  for (HWND control :
       addGroup(kOnCompletionGroupCaption, kOnCompletionItems, idFirstCompletion, 128)) {
    AddToolTip(tooltip, Handle(), control, kOnCompletionHelpText);
  }

  CreateDescription(kLeft + kGroupWidth + 18, 18, kClientWidth - kGroupWidth - kLeft * 2 - 18,
                    kBottomButtonTop - 34);
}

void TfrmAutorun::CreateDescription(int x, int y, int width, int height) {
  // Line breaks as lone CRs: that is how the rich edit control counts them,
  // so that positions in this text are positions in the control.
  std::wstring text;
  std::vector<CHARRANGE> highlights;
  for (const TAutorunTextRun& run : AutorunDescription()) {
    std::wstring part = WideText(run.Text);
    for (wchar_t& c : part) {
      if (c == L'\n') c = L'\r';
    }
    if (run.Highlighted) {
      highlights.push_back({static_cast<LONG>(text.size()),
                            static_cast<LONG>(text.size() + part.size())});
    }
    text += part;
  }
  HWND edit = AddControl(RichEditClass(), "", ES_MULTILINE | ES_READONLY, idDescription, x, y,
                         width, height);
  SendMessageW(edit, EM_SETBKGNDCOLOR, 0, GetSysColor(COLOR_BTNFACE));
  SetWindowTextW(edit, text.c_str());
  for (CHARRANGE range : highlights) {
    SendMessageW(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_BOLD | CFM_COLOR;
    format.dwEffects = CFE_BOLD;
    format.crTextColor = ColourOf(kAutorunHighlightColour);
    SendMessageW(edit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  }
  CHARRANGE none{0, 0};
  SendMessageW(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&none));
}

void TfrmAutorun::OnClick(int id) {
  if (id >= idFirstTask && id < idFirstTask + static_cast<int>(kTaskItems.size())) {
    presenter_.TasksClicked(id - idFirstTask);
  } else if (id >= idFirstCompletion &&
             id < idFirstCompletion + static_cast<int>(kOnCompletionItems.size())) {
    presenter_.OnCompletionClicked(id - idFirstCompletion);
  } else if (id == idRun) {
    presenter_.RunClicked();
  } else {
    TTaskForm::OnClick(id);
  }
}

void TfrmAutorun::btnBackClick() { presenter_.BackClicked(); }

void TfrmAutorun::OnCloseRequest() { presenter_.CloseRequested(); }

void TfrmAutorun::StoreSettings() { presenter_.StoreSettings(); }

void TfrmAutorun::ShowTasks(int itemIndex) { CheckRadio(idFirstTask, itemIndex); }

void TfrmAutorun::ShowOnCompletion(int itemIndex) {
  CheckRadio(idFirstCompletion, itemIndex);
}

void TfrmAutorun::CheckRadio(int firstId, int itemIndex) {
  CheckRadioButton(Handle(), firstId, firstId + 2, firstId + itemIndex);
}

void TfrmAutorun::CloseWindow() {
  CloseModal(RunMode == kRunModeAutorun ? mrOk : mrCancel);
}

}  // namespace tidewell
