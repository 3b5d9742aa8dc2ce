// The settings window's "..." button: ExcludedKeys.txt opened in the editor
// the system has for text files. The start and the wait for the editor to end
// run on a short-lived background thread; the caller only waits until the
// start has succeeded or failed, so the window stays usable while the user
// edits. While an editor started this way runs, further requests do nothing.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "platform/FileSystem.h"
#include "platform/Shell.h"

namespace tidewell {

class TExcludedKeysEditor {
 public:
  // The seams must outlive the object.
  TExcludedKeysEditor(TFileSystem& fileSystem, TShell& shell);
  // Stops waiting for an editor still open (it stays open) and ends the
  // thread; never waits for the user.
  ~TExcludedKeysEditor();
  TExcludedKeysEditor(const TExcludedKeysEditor&) = delete;
  TExcludedKeysEditor& operator=(const TExcludedKeysEditor&) = delete;

  // Creates the file empty when it is missing, then starts the editor on it.
  // True when an editor was started; false when one started earlier is still
  // running, the file could not be created or the start failed (a failed
  // start shows nothing).
  bool Open(const std::string& applicationFolder);

  bool EditorRunning() const { return running_; }

 private:
  void StartAndWait(std::string file, std::string folder);

  TFileSystem& fileSystem_;
  TShell& shell_;
  std::thread thread_;
  std::atomic<bool> running_{false};
  std::atomic<bool> stopping_{false};
  std::mutex mutex_;
  std::condition_variable startDecided_;
  // Guarded by mutex_: the thread's verdict on the start of this request.
  bool decided_ = false;
  bool started_ = false;
};

}  // namespace tidewell
