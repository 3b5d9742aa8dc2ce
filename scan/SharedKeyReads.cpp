#include "scan/SharedKeyReads.h"

#include <algorithm>
#include <tuple>
#include <utility>

#include "platform/CharKinds.h"

namespace tidewell {

namespace {

// Two hashes in one pass over the view and the folded path without its outer
// backslashes, 64-bit FNV-1a and a 32-bit multiplicative one: a false match
// needs both to collide.
std::pair<std::uint64_t, std::uint32_t> HashesOf(std::uint32_t view,
                                                 const std::string& path) {
  std::size_t first = 0;
  std::size_t last = path.size();
  while (first < last && path[first] == '\\') ++first;
  while (last > first && path[last - 1] == '\\') --last;
  std::uint64_t a = 14695981039346656037ull ^ view;
  std::uint32_t b = 0x811C9DC5u + view;
  for (std::size_t i = first; i < last; ++i) {
    const auto byte = static_cast<unsigned char>(FoldedAscii(path[i]));
    a = (a ^ byte) * 1099511628211ull;
    b = (b + byte) * 0x9E3779B1u;
  }
  return {a, b ^ static_cast<std::uint32_t>(last - first)};
}

template <typename Entry>
bool Before(const Entry& x, const Entry& y) {
  return std::tie(x.first, x.second) < std::tie(y.first, y.second);
}

}  // namespace

void TSharedKeyReads::Add(std::uint32_t view, const std::string& path,
                          Entry entry) {
  const auto [first, second] = HashesOf(view, path);
  entry.first = first;
  entry.second = second;
  entries_.push_back(entry);
  sorted_ = false;
}

void TSharedKeyReads::KeepLeaf(std::uint32_t view, const std::string& path,
                               TLeafExamination&& exam) {
  Entry entry;
  entry.valueCount = exam.ValueCount;
  entry.start = static_cast<std::uint32_t>(findings_.size());
  entry.count = static_cast<std::uint32_t>(exam.Findings.size());
  entry.listing = 0;
  for (TLeafFinding& finding : exam.Findings) {
    findings_.push_back(std::move(finding));
  }
  Add(view, path, entry);
}

void TSharedKeyReads::KeepListing(std::uint32_t view, const std::string& path,
                                  const std::vector<std::string>& names) {
  if (names.empty()) return;
  Entry entry;
  entry.start = static_cast<std::uint32_t>(names_.size());
  entry.count = static_cast<std::uint32_t>(names.size());
  entry.listing = 1;
  for (const std::string& name : names) {
    names_ += name;
    names_ += '\0';
  }
  Add(view, path, entry);
}

void TSharedKeyReads::Index() {
  // Stable, so that of a key kept twice the first comes first.
  std::stable_sort(entries_.begin(), entries_.end(), Before<Entry>);
  entries_.shrink_to_fit();
  buckets_.assign(kBuckets + 1, 0);
  std::size_t at = 0;
  for (std::size_t bucket = 0; bucket <= kBuckets; ++bucket) {
    while (at < entries_.size() && (entries_[at].first >> kBucketShift) < bucket) ++at;
    buckets_[bucket] = static_cast<std::uint32_t>(at);
  }
  sorted_ = true;
}

TSharedKeyReads::TKept TSharedKeyReads::Find(std::uint32_t view,
                                             const std::string& path,
                                             TLeafExamination& exam,
                                             std::vector<std::string>& names) {
  if (entries_.empty()) return TKept::Nothing;
  if (!sorted_) Index();
  Entry wanted;
  std::tie(wanted.first, wanted.second) = HashesOf(view, path);
  // The file list asks for every key of the machine, and most are not here:
  // the top bits of the hash narrow the search to an entry or two at once.
  const std::size_t bucket = static_cast<std::size_t>(wanted.first >> kBucketShift);
  const auto last = entries_.begin() + buckets_[bucket + 1];
  auto at = entries_.begin() + buckets_[bucket];
  while (at != last && Before(*at, wanted)) ++at;
  if (at == last || at->first != wanted.first || at->second != wanted.second) {
    return TKept::Nothing;
  }
  if (at->listing) {
    names.clear();
    std::size_t from = at->start;
    for (std::uint32_t i = 0; i < at->count; ++i) {
      const std::size_t end = names_.find('\0', from);
      names.push_back(names_.substr(from, end - from));
      from = end + 1;
    }
    return TKept::Listing;
  }
  exam.ValueCount = at->valueCount;
  exam.Findings.assign(findings_.begin() + at->start,
                       findings_.begin() + at->start + at->count);
  return TKept::Leaf;
}

void TSharedKeyReads::Clear() {
  std::vector<Entry>().swap(entries_);
  std::vector<TLeafFinding>().swap(findings_);
  std::string().swap(names_);
  std::vector<std::uint32_t>().swap(buckets_);
  sorted_ = true;
}

}  // namespace tidewell
