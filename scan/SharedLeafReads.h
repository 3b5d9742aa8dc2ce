// What the class checks learnt, for the file list, of the keys without
// subkeys they read under HKEY_LOCAL_MACHINE\Software\Classes.
//
// The class checks read the default value of some 80,000 such keys through
// HKEY_CLASSES_ROOT (InprocServer32, ProgID, CurVer, DefaultIcon and the
// like); the file list, which runs last, opens, counts and lists every one of
// them again. Where a class check's key is certainly the machine's key (no
// user registration of its entry stands over it), it reads all of the key's
// values in one listing, as the file list would, examines them as the file
// list would, and keeps the outcome here: how many values the key held and
// which of them name a missing file. The file list then takes the outcome
// instead of reading the key a second time, and raises the same events in
// the same order.
//
// Keys are remembered by two independent 64-bit hashes of the view and the
// path, ASCII letters folded as the registry folds them: 80,000 paths kept as
// text would take more memory than the scan may add.
//
// What the registry holds is taken as it was when first read: the engine
// empties the store when a scan starts and ends. Used on the scan thread
// only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tidewell {

// One value of a key that names a missing file, as the file list reports it.
struct TLeafFinding {
  // The position of the value in the key's listing.
  std::uint32_t ValueIndex = 0;
  std::string Name;
  std::string Data;
  // The explanation lines, when the scan explains its problems.
  std::vector<std::string> Tested;
};

// The file list's examination of one key without subkeys.
struct TLeafExamination {
  std::uint32_t ValueCount = 0;
  std::vector<TLeafFinding> Findings;  // by ValueIndex
};

class TSharedLeafReads {
 public:
  // Remembers the examination of the key `path` (a path from the root of
  // HKEY_LOCAL_MACHINE, outer backslashes allowed) in `view`. A key kept
  // twice keeps its first examination.
  void Keep(std::uint32_t view, const std::string& path, TLeafExamination&& exam);
  // The examination kept for the key, or false.
  bool Find(std::uint32_t view, const std::string& path, TLeafExamination& exam);
  bool Empty() const { return entries_.empty(); }
  void Clear();

 private:
  struct Entry {
    std::uint64_t first = 0;
    std::uint64_t second = 0;
    std::uint32_t valueCount = 0;
    // Findings [firstFinding, firstFinding + findingCount) of `findings_`.
    std::uint32_t firstFinding = 0;
    std::uint32_t findingCount = 0;
  };

  std::vector<Entry> entries_;
  std::vector<TLeafFinding> findings_;
  bool sorted_ = true;
};

}  // namespace tidewell
