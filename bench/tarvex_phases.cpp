// tarvex on every kernel of bench/kernels/, each run once with its time
// split into phases by the progress lines of the run (a phase starts as
// soon as the head of its line arrives: the cross product line gets its
// counts at the end of the phase): model (up to the
// first "Tiling stmt"), tiling (the tiling library, the left inverse and
// the schedules), cross product ("Cross product..." to "Coalescing..."),
// coalescing (up to "H^-1..."), and iscc (from "Iscc codegen..." to the
// end). General tilings print no cross product or coalescing line: their
// time counts as tiling. The counters are seconds of the wall clock, the
// processor time of tarvex and iscc together (cpu: iscc generates parts
// and both forms of a nest in parallel, so it may exceed the wall time on
// several cores), the size of the script handed to iscc in kB, the pieces
// kept by the cross products, whether iscc generated every instance
// together (together: 1), whether it generated the else schedule of the
// last mode (last: 1) and whether tarvex refused the kernel (refused: 1,
// its message on standard error, the time that of the refusal).

#include <benchmark/benchmark.h>
#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

// The phase a progress line starts; "" for any other line.
std::string phase_started_by(const std::string& line) {
  static const std::pair<const char*, const char*> marks[] = {
      {"Tiling stmt", "tiling"},        {"  ZIL...", "tiling"},
      {"  Cross product", "cross"},     {"  Coalescing", "coalesce"},
      {"  H^-1", "tiling"},             {"Schedule for stmt", "tiling"},
      {"Iscc codegen", "iscc"}};
  for (const auto& mark : marks)
    if (line.rfind(mark.first, 0) == 0) return mark.second;
  return "";
}

// The processor time of the finished children of this process, in seconds.
double children_seconds() {
  rusage usage;
  getrusage(RUSAGE_CHILDREN, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The pieces kept by a cross product, from its line's end
// "<settled>/<total>, <kept> kept"; 0 for any other line.
long kept_pieces(const std::string& line) {
  size_t comma = line.rfind(", ");
  if (line.rfind("  Cross product", 0) != 0 || comma == std::string::npos) return 0;
  return std::atol(line.c_str() + comma + 2);
}

// What one run of tarvex on a kernel gave.
struct Run {
  std::map<std::string, double> seconds;  // per phase
  double cpu = 0;
  double script_kb = 0;
  long pieces = 0;
  bool together = false;  // iscc generated every instance together
  bool last = false;      // iscc generated the else schedule (the last mode)
  std::string refusal;    // tarvex's message when it refused the kernel
};

// Runs tarvex on the kernel in a scratch folder, its output line-buffered
// so that each line arrives when written; adds each phase's seconds to the
// run and the pieces its cross products keep. Returns false when tarvex
// could not be run.
bool timed_run(const std::string& kernel, Run& run) {
  char folder[] = "/tmp/tarvex-phases-XXXXXX";
  std::string dir = mkdtemp(folder);
  std::string command = "cd " + dir + " && cp " KERNELS_DIR "/" + kernel + ".c . && stdbuf -oL " TARVEX_PATH
                        " " + kernel + ".c 2>&1";
  using Clock = std::chrono::steady_clock;
  Clock::time_point mark = Clock::now();
  double cpu = children_seconds();
  std::string phase = "model";
  FILE* out = popen(command.c_str(), "r");
  std::string line, last;
  bool marked = false;  // the line has started its phase
  for (int c; out && (c = std::fgetc(out)) != EOF;) {
    if (c == '\n') {
      run.pieces += kept_pieces(line);
      if (line.find("codegen generated every instance together") != std::string::npos) run.together = true;
      if (line.find("codegen generated its else schedule") != std::string::npos) run.last = true;
      if (!line.empty()) last = line;
      line.clear();
      marked = false;
      continue;
    }
    line += static_cast<char>(c);
    if (marked) continue;
    std::string next = phase_started_by(line);
    if (next.empty()) continue;
    marked = true;
    Clock::time_point now = Clock::now();
    run.seconds[phase] += std::chrono::duration<double>(now - mark).count();
    mark = now;
    phase = next;
  }
  if (!out) return false;
  int status = pclose(out);
  run.seconds[phase] += std::chrono::duration<double>(Clock::now() - mark).count();
  run.cpu += children_seconds() - cpu;
  if (status != 0) run.refusal = last;
  struct stat script;
  run.script_kb = stat((dir + "/" + kernel + ".iscc").c_str(), &script) == 0 ? script.st_size / 1024.0 : 0;
  std::system(("rm -rf " + dir).c_str());
  return true;
}

void BM_TarvexPhases(benchmark::State& state, const std::string& kernel) {
  Run run;
  for (auto _ : state)
    if (!timed_run(kernel, run)) state.SkipWithError("tarvex could not be run");
  double n = static_cast<double>(state.iterations());
  for (const char* phase : {"model", "tiling", "cross", "coalesce", "iscc"}) state.counters[phase] = run.seconds[phase] / n;
  state.counters["cpu"] = run.cpu / n;
  state.counters["script_kB"] = run.script_kb;
  state.counters["pieces"] = static_cast<double>(run.pieces) / n;
  state.counters["together"] = run.together;
  state.counters["last"] = run.last;
  state.counters["refused"] = !run.refusal.empty();
  if (!run.refusal.empty()) std::fprintf(stderr, "%s: %s\n", kernel.c_str(), run.refusal.c_str());
}

// The kernels of bench/kernels/, by name.
std::vector<std::string> kernels() {
  std::vector<std::string> names;
  if (DIR* dir = opendir(KERNELS_DIR)) {
    while (dirent* entry = readdir(dir)) {
      std::string name = entry->d_name;
      if (name.size() > 2 && name.compare(name.size() - 2, 2, ".c") == 0) names.push_back(name.substr(0, name.size() - 2));
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

const bool registered = [] {
  for (const std::string& kernel : kernels())
    benchmark::RegisterBenchmark(("BM_TarvexPhases/" + kernel).c_str(), BM_TarvexPhases, kernel)
        ->Unit(benchmark::kSecond)
        ->Iterations(1);
  return true;
}();

}  // namespace
