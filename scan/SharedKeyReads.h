// What the class checks learnt, for the file list, of the keys they read
// under HKEY_LOCAL_MACHINE\Software\Classes.
//
// The class checks read some 80,000 keys without subkeys through
// HKEY_CLASSES_ROOT (InprocServer32, ProgID, CurVer, DefaultIcon and the
// like) and look for the subkeys of tens of thousands of entries; the file
// list, which runs last, opens, counts and lists every one of those keys
// again. Where a class check's key is certainly the machine's (no user
// registration of its entry stands over it), the check reads it as the file
// list would and keeps here what the file list needs of it:
//   - of a key without subkeys, how many values it held and which of them
//     name a missing file, judged as the file list judges them;
//   - of a key with subkeys, their names in the order listed.
// The file list then takes that instead of reading the key a second time,
// and raises the same events in the same order.
//
// Keys are remembered by a 96-bit hash of the view and the path, ASCII
// letters folded as the registry folds them: 100,000 paths kept as text would
// take more memory than the scan may add.
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

class TSharedKeyReads {
 public:
  // Remembers the examination of the key `path` (a path from the root of
  // HKEY_LOCAL_MACHINE, outer backslashes allowed) in `view`.
  void KeepLeaf(std::uint32_t view, const std::string& path, TLeafExamination&& exam);
  // Remembers the names of the subkeys of the key `path`, in the order listed;
  // none is nothing to remember.
  void KeepListing(std::uint32_t view, const std::string& path,
                   const std::vector<std::string>& names);
  enum class TKept { Nothing, Leaf, Listing };
  // What was kept for the key, into `exam` or `names` as its kind says. A
  // key kept twice answers with what was kept first.
  TKept Find(std::uint32_t view, const std::string& path, TLeafExamination& exam,
             std::vector<std::string>& names);
  bool Empty() const { return entries_.empty(); }
  void Clear();

 private:
  struct Entry {
    std::uint64_t first = 0;
    std::uint32_t second = 0;
    // A leaf: its value count, and findings [start, start + count) of
    // `findings_`. A listing: `count` names from `names_` at `start`, each
    // ended by a zero byte.
    std::uint32_t valueCount = 0;
    std::uint32_t start = 0;
    std::uint32_t count : 31;
    std::uint32_t listing : 1;
  };
  void Add(std::uint32_t view, const std::string& path, Entry entry);
  // Sorts the entries by hash and indexes them by its top bits.
  void Index();

  static constexpr int kBucketShift = 48;
  static constexpr std::size_t kBuckets = std::size_t{1} << (64 - kBucketShift);

  std::vector<Entry> entries_;
  std::vector<TLeafFinding> findings_;
  std::string names_;
  // Entries [buckets_[b], buckets_[b + 1]) have the top bits b.
  std::vector<std::uint32_t> buckets_;
  bool sorted_ = true;
};

}  // namespace tidewell
