// A fresh folder for one test, reached through the platform's own file-system
// seam: natively a new host temp folder mapped as the drives (the test folder
// is "C:\Test"), on Windows a new folder in the temporary folder. The same
// test code checks both. Everything is removed when the object goes away.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "platform/FileSystem.h"
#include "platform/SystemEnvironment.h"

namespace tidewell::testing {

class TestDrive {
 public:
  TestDrive();
  ~TestDrive();
  TestDrive(const TestDrive&) = delete;
  TestDrive& operator=(const TestDrive&) = delete;

  TFileSystem& FileSystem() { return *fileSystem_; }
  // The test folder as a Windows path, without trailing backslash.
  const std::string& Root() const { return root_; }
  // Root, a backslash and `relative` ("Dir\file.txt").
  std::string Path(const std::string& relative) const;

  // Set-up made without the seam, so that a test of the seam does not lean
  // on what it tests. Parents are created as needed.
  void MakeFile(const std::string& relative, const std::string& content = "x");
  void MakeFolder(const std::string& relative);
  std::filesystem::path HostPath(const std::string& relative) const;

 private:
  std::filesystem::path hostRoot_;  // what is removed at the end
  std::filesystem::path hostTest_;  // the folder Root() names
  std::string root_;
  std::unique_ptr<TFileSystem> fileSystem_;
};

// The environment seam of the platform with variables a test may set:
// natively values held by the object, on Windows the process environment
// (restored when the object goes away).
class TestEnvironment {
 public:
  TestEnvironment();
  ~TestEnvironment();
  TestEnvironment(const TestEnvironment&) = delete;
  TestEnvironment& operator=(const TestEnvironment&) = delete;

  TSystemEnvironment& Environment() { return *environment_; }
  void SetVariable(const std::string& name, const std::string& value);

 private:
  struct Saved;
  std::unique_ptr<TSystemEnvironment> environment_;
  std::unique_ptr<Saved> saved_;
};

}  // namespace tidewell::testing
