// TfrmMain: the launcher. A white banner, the seven task buttons in a column,
// the welcome text with the copyright link, and the "What's This?" button
// btnHint. Creating it turns a second instance away, cleans up a run-once
// registration, enables the start-up privileges, sets ApplicationFolder and
// writes the registry note; closing it writes the note again and ends the
// program.
#pragma once

#include <functional>
#include <string>

#include "app/AppServices.h"
#include "app/FormKind.h"
#include "app/Launcher.h"
#include "app/MainWindowSetup.h"
#include "app/VersionInfo.h"
#include "app/win/SingleInstanceGuard.h"
#include "ui/win/Form.h"
#include "ui/win/GdiObject.h"
#include "ui/win/WinResources.h"

namespace tidewell {

// What the automatic run asks of the task windows once they have closed; the
// program, which knows each window's type, answers.
class TTaskWindowReports {
 public:
  virtual ~TTaskWindowReports() = default;
  // The choices the auto-run window holds.
  virtual TAutorunChoice AutorunChoice() = 0;
  // Whether the work the window did by itself at its latest showing failed.
  virtual bool AutoRunFailed(TFormKind form) = 0;
};

class TfrmMain final : public TForm,
                       private TMainWindowSetup,
                       private TLauncherWindows {
 public:
  inline static constexpr int kClientWidth = 578;
  inline static constexpr int kClientHeight = 362;
  // Control ids: the seven buttons take idFirstButton and on, in order.
  inline static constexpr int idFirstButton = 101;
  inline static constexpr int idHint = 110;
  inline static constexpr int idCopyright = 111;
  inline static constexpr int idWelcome = 112;
  inline static constexpr int idBanner = 113;

  // `findForm` gives the task windows, which are created after this one;
  // `reports` answers for them during an automatic run.
  TfrmMain(TAppServices& services, const TVersionInfo& version,
           const std::string& programFile,
           std::function<TForm*(TFormKind)> findForm, TTaskWindowReports& reports);
  ~TfrmMain() override;

  // The creation steps; false when the program must end (another instance).
  bool Create();
  // Shows the window; the program's message loop follows.
  void Show();

  // Made with the window's controls; the task windows borrow them.
  const TWinResources& Resources() const { return resources_; }

 protected:
  void OnClick(int id) override;
  void OnCloseRequest() override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint(HDC dc) override;

 private:
  // TMainWindowSetup
  bool SingleInstanceGuard() override;
  void RunOnceCleanup() override;
  void SetIconFromApplication() override;
  void SetCaption(const std::string& caption) override;
  void EnablePrivileges() override;
  void SetApplicationFolder() override;
  void WriteRegistryNote() override;
  // TLauncherWindows
  void ShowModal(TFormKind form) override;
  void CloseMain() override;
  TAutorunChoice AutorunChoice() override;
  bool AutoRunFailed(TFormKind form) override;
  void ProcessMessages() override;
  void ShowMessage(const std::string& text) override;

  void CreateControls();
  void FormShow();
  void FormClose();
  void btnHintClick();
  void ShowHelpAt(POINT clientPoint) override;
  std::string HelpTextOf(int id) const;
  void OpenMakerSite();
  std::string ShortProgramPath() const;

  TAppServices& services_;
  TVersionInfo version_;
  std::string programFile_;
  std::function<TForm*(TFormKind)> findForm_;
  TTaskWindowReports& reports_;
  TLauncher launcher_;
  TSingleInstanceGuard guard_;
  TImageList imageList1_;
  TWinResources resources_;
  TImageList buttonImages_[7];
  TFont bannerFont_;
  TBrush white_;
  HWND urlCopyright_ = nullptr;
};

}  // namespace tidewell
