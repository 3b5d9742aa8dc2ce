// A file system that counts and times the calls made through it before
// passing them on, so benchmarks can say how much disk traffic a routine
// causes and how much of its time went there.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/FileSystem.h"

namespace tidewell {

using BenchClock = std::chrono::steady_clock;

inline double SecondsSince(BenchClock::time_point start) {
  return std::chrono::duration<double>(BenchClock::now() - start).count();
}

// Every call counted and timed, so a run can say how much of its time went to
// the file system.
class CountingFileSystem final : public TFileSystem {
 public:
  struct Counts {
    std::uint64_t fileExists = 0;
    std::uint64_t directoryExists = 0;
    std::uint64_t listFolder = 0;
    std::uint64_t other = 0;
    double seconds = 0;
    // The FileExists and DirectoryExists calls that answered false, and
    // their share of the time.
    std::uint64_t misses = 0;
    double missSeconds = 0;
    std::uint64_t Total() const {
      return fileExists + directoryExists + listFolder + other;
    }
  };

  explicit CountingFileSystem(TFileSystem& inner) : inner_(inner) {}

  const Counts& Snapshot() const { return counts_; }
  void Reset() { counts_ = Counts(); }

  bool FileExists(const std::string& path) override {
    return Probe(counts_.fileExists, [&] { return inner_.FileExists(path); });
  }
  bool DirectoryExists(const std::string& path) override {
    return Probe(counts_.directoryExists,
                 [&] { return inner_.DirectoryExists(path); });
  }
  std::vector<TFileInfo> ListFolder(const std::string& folder) override {
    return Timed(counts_.listFolder, [&] { return inner_.ListFolder(folder); });
  }
  bool ForceDirectories(const std::string& path) override {
    return Timed(counts_.other, [&] { return inner_.ForceDirectories(path); });
  }
  bool MoveFileOver(const std::string& from, const std::string& to) override {
    return Timed(counts_.other, [&] { return inner_.MoveFileOver(from, to); });
  }
  bool RemoveFile(const std::string& path) override {
    return Timed(counts_.other, [&] { return inner_.RemoveFile(path); });
  }
  bool ReadWholeFile(const std::string& path, std::string& bytes) override {
    return Timed(counts_.other,
                 [&] { return inner_.ReadWholeFile(path, bytes); });
  }
  std::unique_ptr<TWritableFile> CreateNewFile(const std::string& path,
                                               bool exclusive) override {
    return Timed(counts_.other,
                 [&] { return inner_.CreateNewFile(path, exclusive); });
  }
  std::unique_ptr<TWritableFile> OpenForAppend(
      const std::string& path) override {
    return Timed(counts_.other, [&] { return inner_.OpenForAppend(path); });
  }
  std::string ShortPathName(const std::string& path) override {
    return Timed(counts_.other, [&] { return inner_.ShortPathName(path); });
  }

 private:
  template <typename Call>
  bool Probe(std::uint64_t& counter, Call&& call) {
    ++counter;
    const BenchClock::time_point start = BenchClock::now();
    const bool found = call();
    const double seconds = SecondsSince(start);
    counts_.seconds += seconds;
    if (!found) {
      ++counts_.misses;
      counts_.missSeconds += seconds;
    }
    return found;
  }

  template <typename Call>
  std::invoke_result_t<Call> Timed(std::uint64_t& counter, Call&& call) {
    ++counter;
    const BenchClock::time_point start = BenchClock::now();
    auto result = call();
    counts_.seconds += SecondsSince(start);
    return result;
  }

  TFileSystem& inner_;
  Counts counts_;
};

}  // namespace tidewell
