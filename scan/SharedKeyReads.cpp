#include "scan/SharedKeyReads.h"

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
std::pair<std::uint64_t, std::uint32_t> HashesOf(std::uint32_t view,
                                                 const std::string& path) {
  std::size_t first = 0;
  std::size_t last = path.size();
  while (first < last && path[first] == '\\') ++first;
  while (last > first && path[last - 1] == '\\') --last;
  std::uint64_t a = 14695981039346656037ull;
  std::uint64_t b = 0x9E3779B97F4A7C15ull;
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
  return {a, static_cast<std::uint32_t>(b ^ (b >> 32))};
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

const TSharedKeyReads::Entry* TSharedKeyReads::Lookup(std::uint32_t view,
                                                      const std::string& path) {
  if (entries_.empty()) return nullptr;
  if (!sorted_) {
    // Stable, so that of a key kept twice the first comes first.
    std::stable_sort(entries_.begin(), entries_.end(), Before<Entry>);
    entries_.shrink_to_fit();
    sorted_ = true;
  }
  Entry wanted;
  std::tie(wanted.first, wanted.second) = HashesOf(view, path);
  const auto at =
      std::lower_bound(entries_.begin(), entries_.end(), wanted, Before<Entry>);
  if (at == entries_.end() || at->first != wanted.first ||
      at->second != wanted.second) {
    return nullptr;
  }
  return &*at;
}

bool TSharedKeyReads::FindLeaf(std::uint32_t view, const std::string& path,
                               TLeafExamination& exam) {
  const Entry* entry = Lookup(view, path);
  if (entry == nullptr || entry->listing) return false;
  exam.ValueCount = entry->valueCount;
  exam.Findings.assign(findings_.begin() + entry->start,
                       findings_.begin() + entry->start + entry->count);
  return true;
}

bool TSharedKeyReads::FindListing(std::uint32_t view, const std::string& path,
                                  std::vector<std::string>& names) {
  const Entry* entry = Lookup(view, path);
  if (entry == nullptr || !entry->listing) return false;
  names.clear();
  std::size_t at = entry->start;
  for (std::uint32_t i = 0; i < entry->count; ++i) {
    const std::size_t end = names_.find('\0', at);
    names.push_back(names_.substr(at, end - at));
    at = end + 1;
  }
  return true;
}

void TSharedKeyReads::Clear() {
  std::vector<Entry>().swap(entries_);
  std::vector<TLeafFinding>().swap(findings_);
  std::string().swap(names_);
  sorted_ = true;
}

}  // namespace tidewell
