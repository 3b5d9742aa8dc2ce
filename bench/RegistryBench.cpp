// The in-memory store at registry scale: a tree of 100,000 keys and 500,000
// values, opened, enumerated and read through TRegistry the way the scan does.
// Prints time per operation and the process's peak memory.
#include <sys/resource.h>

#include <cstdio>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "registry/MemoryRegistryStore.h"
#include "registry/Registry.h"

namespace tidewell {
namespace {

constexpr int kTopKeys = 1000;
constexpr int kSubKeysPerTop = 99;  // 1,000 + 99,000 = 100,000 keys
constexpr int kValuesPerKey = 5;    // 500,000 values

std::string TopName(int i) { return "Software\\Bench\\Vendor" + std::to_string(i); }
std::string SubName(int j) { return "Component{" + std::to_string(j * 7919 % 100000) + "}"; }

MemoryRegistryStore& Tree() {
  static MemoryRegistryStore* store = [] {
    auto* s = new MemoryRegistryStore();
    TRegistry registry(*s);
    registry.SetRootKey(TRootKey::LocalMachine);
    for (int i = 0; i < kTopKeys; ++i) {
      for (int j = 0; j < kSubKeysPerTop + 1; ++j) {
        const std::string path =
            "\\" + TopName(i) + (j == 0 ? "" : "\\" + SubName(j));
        registry.OpenKey(path, true);
        for (int v = 0; v < kValuesPerKey; ++v) {
          registry.WriteString("Value" + std::to_string(v),
                               "C:\\Program Files\\Vendor\\file" + std::to_string(v) + ".dll");
        }
      }
    }
    return s;
  }();
  return *store;
}

void BM_OpenKeyReadOnly(benchmark::State& state) {
  TRegistry registry(Tree());
  registry.SetRootKey(TRootKey::LocalMachine);
  int i = 0;
  for (auto _ : state) {
    const bool ok = registry.OpenKeyReadOnly("\\" + TopName(i % kTopKeys) + "\\" +
                                             SubName(1 + i % kSubKeysPerTop));
    benchmark::DoNotOptimize(ok);
    ++i;
  }
}
BENCHMARK(BM_OpenKeyReadOnly);

void BM_EnumerateTopKey(benchmark::State& state) {
  TRegistry registry(Tree());
  registry.SetRootKey(TRootKey::LocalMachine);
  std::vector<std::string> names;
  int i = 0;
  for (auto _ : state) {
    registry.OpenKeyReadOnly("\\" + TopName(i++ % kTopKeys));
    registry.GetKeyNames(names);
    benchmark::DoNotOptimize(names.data());
  }
}
BENCHMARK(BM_EnumerateTopKey);

void BM_ReadString(benchmark::State& state) {
  TRegistry registry(Tree());
  registry.SetRootKey(TRootKey::LocalMachine);
  registry.OpenKeyReadOnly("\\" + TopName(7) + "\\" + SubName(3));
  int i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(registry.ReadString("Value" + std::to_string(i++ % kValuesPerKey)));
  }
}
BENCHMARK(BM_ReadString);

// What a scan costs at the least: open every key, list its subkeys and
// values, read every value.
void BM_WalkWholeTree(benchmark::State& state) {
  TRegistry registry(Tree());
  registry.SetRootKey(TRootKey::LocalMachine);
  for (auto _ : state) {
    long values = 0;
    std::vector<std::string> pending = {"Software\\Bench"};
    std::vector<std::string> keys, names;
    while (!pending.empty()) {
      const std::string path = pending.back();
      pending.pop_back();
      if (!registry.OpenKeyReadOnly("\\" + path)) continue;
      registry.GetKeyNames(keys);
      for (const auto& k : keys) pending.push_back(path + "\\" + k);
      registry.GetValueNames(names);
      for (const auto& n : names) {
        benchmark::DoNotOptimize(registry.ReadString(n));
        ++values;
      }
    }
    state.counters["values"] = static_cast<double>(values);
  }
}
BENCHMARK(BM_WalkWholeTree)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace tidewell

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  tidewell::Tree();  // build the tree before timing anything
  benchmark::RunSpecifiedBenchmarks();
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("peak resident memory: %.1f MiB\n", usage.ru_maxrss / 1024.0);
  benchmark::Shutdown();
  return 0;
}
