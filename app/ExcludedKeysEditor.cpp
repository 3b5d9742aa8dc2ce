#include "app/ExcludedKeysEditor.h"

#include <memory>
#include <utility>

#include "settings/ExcludedKeysFile.h"

namespace tidewell {

namespace {
// How often the background thread looks whether the editor has ended.
constexpr int kWaitStepMilliseconds = 100;
}  // namespace

TExcludedKeysEditor::TExcludedKeysEditor(TFileSystem& fileSystem, TShell& shell)
    : fileSystem_(fileSystem), shell_(shell) {}

TExcludedKeysEditor::~TExcludedKeysEditor() {
  stopping_ = true;
  if (thread_.joinable()) thread_.join();
}

bool TExcludedKeysEditor::Open(const std::string& applicationFolder) {
  if (running_) return false;
  const std::string path = ExcludedKeysPath(applicationFolder);
  if (!fileSystem_.FileExists(path)) {
    // Create it empty; another program creating it meanwhile is as good.
    if (!fileSystem_.CreateNewFile(path, false) && !fileSystem_.FileExists(path)) {
      return false;
    }
  }
  // The thread of an earlier request has ended (running_ is false) or is
  // about to; collect it before starting the next.
  if (thread_.joinable()) thread_.join();
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    decided_ = false;
    started_ = false;
  }
  running_ = true;
  thread_ = std::thread(&TExcludedKeysEditor::StartAndWait, this,
                        std::string(kExcludedKeysFileName), applicationFolder);
  std::unique_lock<std::mutex> lock(mutex_);
  startDecided_.wait(lock, [this] { return decided_; });
  return started_;
}

void TExcludedKeysEditor::StartAndWait(std::string file, std::string folder) {
  std::unique_ptr<TStartedProgram> editor = shell_.OpenDocument(file, folder);
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    decided_ = true;
    started_ = editor != nullptr;
  }
  startDecided_.notify_all();
  if (editor) {
    while (!stopping_ && !editor->WaitForEnd(kWaitStepMilliseconds)) {
    }
  }
  running_ = false;
}

}  // namespace tidewell
