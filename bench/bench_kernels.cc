// The speed of tarvex's output against the untiled originals, in one run.
// Every kernel comes in up to five forms: the original built by the C
// compiler, tarvex's tiled output built by the C++ compiler (block_size 16,
// 32 and 64 set at run time), the same with the code generator forced into
// two of its modes ("together": the exact nest with every instance
// together, the full tiles not run apart; "last": each tiled statement
// scanning one convex superset of its domain, every point tested against
// the original domain), and the original built by clang-14 with its Polly
// loop optimiser. Before timing, every form runs once from the same arrays
// and must leave the arrays of the untiled original. After the runs, a
// table gives untiled time / form time for every form (above 1: the form
// is faster). Times are the process's CPU time, which other work on a
// shared machine disturbs less than the wall-clock time (the kernels run
// in one thread).
//
// Sizes are the kernel's "sizes" line, or the values of the environment
// variable TARVEX_BENCH_<kernel> (e.g. TARVEX_BENCH_seidel="10 300") for a
// smoke run.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

// The table lists each kernel as BENCH_KERNEL(name, sizes, arrays), or as
// BENCH_KERNEL_WITH_POLLY when its Polly form was built too.
#define BENCH_FORM(kernel, form)                             \
  extern "C" void kernel##_##form##_set(const int* values); \
  extern "C" void kernel##_##form##_run(int block);          \
  extern "C" void* kernel##_##form##_array(int k, unsigned long* bytes);
#define BENCH_KERNEL(kernel, sizes, arrays)                                        \
  BENCH_FORM(kernel, untiled) BENCH_FORM(kernel, tiled) BENCH_FORM(kernel, together) \
  BENCH_FORM(kernel, last)
#define BENCH_KERNEL_WITH_POLLY(kernel, sizes, arrays) \
  BENCH_KERNEL(kernel, sizes, arrays) BENCH_FORM(kernel, polly)
#include "bench_kernels_table.h"
#undef BENCH_KERNEL
#undef BENCH_KERNEL_WITH_POLLY

namespace {

struct Form {
  std::string name;
  void (*set)(const int*);
  void (*run)(int);
  void* (*array)(int, unsigned long*);
};

struct Kernel {
  std::string name;
  std::string sizes;  // the parameter values, blank-separated
  int arrays;
  std::vector<Form> forms;  // the untiled original first
};

#define FORM(kernel, form) \
  Form { #form, kernel##_##form##_set, kernel##_##form##_run, kernel##_##form##_array }
#define BENCH_KERNEL(kernel, sizes, arrays) \
  {#kernel, sizes, arrays, {FORM(kernel, untiled), FORM(kernel, tiled), FORM(kernel, together), FORM(kernel, last)}},
#define BENCH_KERNEL_WITH_POLLY(kernel, sizes, arrays)                                         \
  {#kernel, sizes, arrays,                                                                   \
   {FORM(kernel, untiled), FORM(kernel, polly), FORM(kernel, tiled), FORM(kernel, together), \
    FORM(kernel, last)}},
std::vector<Kernel> table() {
  return {
#include "bench_kernels_table.h"
  };
}
#undef BENCH_KERNEL
#undef BENCH_KERNEL_WITH_POLLY
#undef FORM

const int kBlockSizes[] = {16, 32, 64};

std::vector<int> parameters(const Kernel& k) {
  const char* own = std::getenv(("TARVEX_BENCH_" + k.name).c_str());
  std::istringstream in(own ? own : k.sizes);
  std::vector<int> values;
  for (int v; in >> v;) values.push_back(v);
  return values;
}

// Sets the parameters and fills every array with the same values for every
// form, so that all start from one state.
void prepare(const Kernel& k, const Form& f, const std::vector<int>& values) {
  f.set(values.data());
  for (int a = 0; a < k.arrays; a++) {
    unsigned long bytes = 0;
    double* data = static_cast<double*>(f.array(a, &bytes));
    for (unsigned long i = 0; i < bytes / sizeof(double); i++) data[i] = static_cast<double>((i * 7 + a * 13) % 17) / 17.0;
  }
}

std::vector<std::vector<double>> snapshot(const Kernel& k, const Form& f) {
  std::vector<std::vector<double>> arrays;
  for (int a = 0; a < k.arrays; a++) {
    unsigned long bytes = 0;
    const double* data = static_cast<const double*>(f.array(a, &bytes));
    arrays.emplace_back(data, data + bytes / sizeof(double));
  }
  return arrays;
}

// The largest difference between two snapshots, relative to the larger
// magnitude of the two values (0 when they are identical).
double largest_difference(const std::vector<std::vector<double>>& a, const std::vector<std::vector<double>>& b) {
  double largest = 0;
  for (size_t k = 0; k < a.size(); k++)
    for (size_t i = 0; i < a[k].size(); i++)
      if (a[k][i] != b[k][i]) {
        double scale = std::max(std::fabs(a[k][i]), std::fabs(b[k][i]));
        largest = std::max(largest, std::isnan(scale) ? INFINITY : std::fabs(a[k][i] - b[k][i]) / scale);
      }
  return largest;
}

// The block sizes a form runs with: only the tiled forms have one.
std::vector<int> block_sizes(const Form& f) {
  if (f.name == "untiled" || f.name == "polly") return {0};
  return std::vector<int>(std::begin(kBlockSizes), std::end(kBlockSizes));
}

std::string run_name(const Kernel& k, const Form& f, int block) {
  return k.name + "/" + f.name + (block ? "/" + std::to_string(block) : "");
}

// Runs every form once and compares its arrays with the original's. The
// compilers may fuse a multiply and an add in one form and not in the
// other, which changes the last bit: a relative difference up to 1e-12 is
// equal within that rounding, and any wrong or missing statement instance
// gives far more. Returns false when a form differs beyond it.
bool check(const Kernel& k) {
  std::vector<int> values = parameters(k);
  const Form& original = k.forms.front();
  prepare(k, original, values);
  original.run(0);
  std::vector<std::vector<double>> expected = snapshot(k, original);
  bool same = true;
  for (size_t i = 1; i < k.forms.size(); i++)
    for (int block : block_sizes(k.forms[i])) {
      prepare(k, k.forms[i], values);
      k.forms[i].run(block);
      double difference = largest_difference(snapshot(k, k.forms[i]), expected);
      std::printf("check %-36s ", run_name(k, k.forms[i], block).c_str());
      if (difference == 0)
        std::printf("identical to untiled\n");
      else if (difference <= 1e-12)
        std::printf("equal to untiled within rounding (%.1e)\n", difference);
      else
        std::printf("DIFFERS FROM UNTILED (%.1e)\n", difference);
      same = same && difference <= 1e-12;
    }
  return same;
}

void time_form(benchmark::State& state, const Kernel& k, const Form& f, int block) {
  std::vector<int> values = parameters(k);
  for (auto _ : state) {
    state.PauseTiming();
    prepare(k, f, values);
    state.ResumeTiming();
    f.run(block);
  }
}

// The console report, then the ratios: untiled time / form time per kernel,
// from the median when repetitions are asked for.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      std::string name = run.run_name.function_name;
      bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.run_type == Run::RT_Iteration && !medians_.count(name)) seconds_[name] = seconds(run);
      if (median) {
        medians_[name] = true;
        seconds_[name] = seconds(run);
      }
    }
  }

  void print_ratios(const std::vector<Kernel>& kernels) const {
    std::printf("\n%-36s %12s %14s\n", "form", "cpu time (s)", "untiled/form");
    for (const Kernel& k : kernels) {
      auto base = seconds_.find(run_name(k, k.forms.front(), 0));
      for (const Form& f : k.forms)
        for (int block : block_sizes(f)) {
          auto it = seconds_.find(run_name(k, f, block));
          if (it == seconds_.end() || base == seconds_.end()) continue;
          std::printf("%-36s %12.4f %14.2f\n", it->first.c_str(), it->second, base->second / it->second);
        }
    }
  }

 private:
  static double seconds(const Run& run) {
    return run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
  }
  std::map<std::string, double> seconds_;
  std::map<std::string, bool> medians_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  std::vector<Kernel> kernels = table();
  bool same = true;
  for (const Kernel& k : kernels) same = check(k) && same;
  if (!same) {
    std::printf("a form's arrays differ from the untiled original's: no timing\n");
    return 1;
  }
  for (const Kernel& k : kernels)
    for (const Form& f : k.forms)
      for (int block : block_sizes(f))
        benchmark::RegisterBenchmark(run_name(k, f, block).c_str(), time_form, k, f, block)
            ->Unit(benchmark::kMillisecond);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.print_ratios(kernels);
  benchmark::Shutdown();
  return 0;
}
