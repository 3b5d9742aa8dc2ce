// The process's resident memory, as benchmarks report it (Linux only).
#pragma once

#include <sys/resource.h>
#include <unistd.h>

#include <fstream>

namespace tidewell {

// Now, from /proc/self/statm.
inline double CurrentResidentMiB() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0;
  long resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) /
         (1024.0 * 1024.0);
}

// The most the process has held so far.
inline double PeakResidentMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace tidewell
