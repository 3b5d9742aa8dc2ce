#include "scan/SharedLeafReads.h"

#include <algorithm>
#include <tuple>
#include <utility>

namespace tidewell {

namespace {

char Folded(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// FNV-1a and a multiply-rotate hash, both over the view and the folded path
// without its outer backslashes: a false match needs both to collide.
std::pair<std::uint64_t, std::uint64_t> HashesOf(std::uint32_t view,
                                                 const std::string& path) {
  std::size_t first = 0;
  std::size_t last = path.size();
  while (first < last && path[first] == '\\') ++first;
  while (last > first && path[last - 1] == '\\') --last;
  std::uint64_t a = 14695981039346656037ull;
  std::uint64_t b = 0x9E3779B97F4A7C15ull ^ view;
  const auto mix = [&](unsigned char byte) {
    a = (a ^ byte) * 1099511628211ull;
    b = (b ^ byte) * 0xFF51AFD7ED558CCDull;
    b = (b << 29) | (b >> 35);
  };
  for (int shift = 0; shift < 32; shift += 8) {
    mix(static_cast<unsigned char>(view >> shift));
  }
  for (std::size_t i = first; i < last; ++i) {
    mix(static_cast<unsigned char>(Folded(path[i])));
  }
  mix(static_cast<unsigned char>(last - first));
  return {a, b};
}

bool Before(const auto& x, const auto& y) {
  return std::tie(x.first, x.second) < std::tie(y.first, y.second);
}

}  // namespace

void TSharedLeafReads::Keep(std::uint32_t view, const std::string& path,
                            TLeafExamination&& exam) {
  const auto [first, second] = HashesOf(view, path);
  Entry entry;
  entry.first = first;
  entry.second = second;
  entry.valueCount = exam.ValueCount;
  entry.firstFinding = static_cast<std::uint32_t>(findings_.size());
  entry.findingCount = static_cast<std::uint32_t>(exam.Findings.size());
  for (TLeafFinding& finding : exam.Findings) {
    findings_.push_back(std::move(finding));
  }
  entries_.push_back(entry);
  sorted_ = false;
}

bool TSharedLeafReads::Find(std::uint32_t view, const std::string& path,
                            TLeafExamination& exam) {
  if (entries_.empty()) return false;
  if (!sorted_) {
    // Stable, so that of a key kept twice the first examination comes first.
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const Entry& x, const Entry& y) { return Before(x, y); });
    entries_.shrink_to_fit();
    sorted_ = true;
  }
  const auto [first, second] = HashesOf(view, path);
  Entry wanted;
  wanted.first = first;
  wanted.second = second;
  const auto at = std::lower_bound(
      entries_.begin(), entries_.end(), wanted,
      [](const Entry& x, const Entry& y) { return Before(x, y); });
  if (at == entries_.end() || at->first != first || at->second != second) {
    return false;
  }
  exam.ValueCount = at->valueCount;
  exam.Findings.assign(findings_.begin() + at->firstFinding,
                       findings_.begin() + at->firstFinding + at->findingCount);
  return true;
}

void TSharedLeafReads::Clear() {
  std::vector<Entry>().swap(entries_);
  std::vector<TLeafFinding>().swap(findings_);
  sorted_ = true;
}

}  // namespace tidewell
