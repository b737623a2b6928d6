// tarvex on the kernels of bench/kernels/, each run once with its time
// split into phases by the progress lines of the run (a phase starts as
// soon as the head of its line arrives: the cross product line gets its
// counts at the end of the phase): model (up to the
// first "Tiling stmt"), tiling (the tiling library, the left inverse and
// the schedules), cross product ("Cross product..." to "Coalescing..."),
// coalescing (up to "H^-1..."), and iscc (from "Iscc codegen..." to the
// end). General tilings print no cross product or coalescing line: their
// time counts as tiling. The counters are seconds, and the size of the
// script handed to iscc in kB, and the pieces kept by the cross products.

#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

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

// The pieces kept by a cross product, from its line's end
// "<settled>/<total>, <kept> kept"; 0 for any other line.
long kept_pieces(const std::string& line) {
  size_t comma = line.rfind(", ");
  if (line.rfind("  Cross product", 0) != 0 || comma == std::string::npos) return 0;
  return std::atol(line.c_str() + comma + 2);
}

// Runs tarvex on the kernel in a scratch folder, its output line-buffered
// so that each line arrives when written; adds each phase's seconds to
// seconds and the pieces its cross products keep to pieces. Returns false
// when the run fails.
bool timed_run(const std::string& kernel, std::map<std::string, double>& seconds, double& script_kb,
               long& pieces) {
  char folder[] = "/tmp/tarvex-phases-XXXXXX";
  std::string dir = mkdtemp(folder);
  std::string command = "cd " + dir + " && cp " KERNELS_DIR "/" + kernel + ".c . && stdbuf -oL " TARVEX_PATH
                        " " + kernel + ".c 2>&1";
  using Clock = std::chrono::steady_clock;
  Clock::time_point mark = Clock::now();
  std::string phase = "model";
  FILE* out = popen(command.c_str(), "r");
  std::string line;
  bool marked = false;  // the line has started its phase
  for (int c; out && (c = std::fgetc(out)) != EOF;) {
    if (c == '\n') {
      pieces += kept_pieces(line);
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
    seconds[phase] += std::chrono::duration<double>(now - mark).count();
    mark = now;
    phase = next;
  }
  bool ok = out && pclose(out) == 0;
  seconds[phase] += std::chrono::duration<double>(Clock::now() - mark).count();
  struct stat script;
  script_kb = stat((dir + "/" + kernel + ".iscc").c_str(), &script) == 0 ? script.st_size / 1024.0 : 0;
  std::system(("rm -rf " + dir).c_str());
  return ok;
}

void BM_TarvexPhases(benchmark::State& state, const std::string& kernel) {
  std::map<std::string, double> seconds;
  double script_kb = 0;
  long pieces = 0;
  for (auto _ : state)
    if (!timed_run(kernel, seconds, script_kb, pieces)) state.SkipWithError("tarvex failed");
  for (const char* phase : {"model", "tiling", "cross", "coalesce", "iscc"})
    state.counters[phase] = seconds[phase] / static_cast<double>(state.iterations());
  state.counters["script_kB"] = script_kb;
  state.counters["pieces"] = static_cast<double>(pieces) / static_cast<double>(state.iterations());
}

// The kernels of the slow runs: time-skewed heat 3-D (two statements,
// rectangular, 4-D), Jacobi 2-D (two statements, general skewed tiles),
// Seidel 2-D (rectangular, hyperplanes t, t + i, 2t + i + j), a one
// statement 4-D stencil skewed as [t][2t + i][2t + j][2t + k], and a matrix
// multiply with tile_ratio[1][1][8].
const bool registered = [] {
  for (const char* kernel : {"jacobi2d_general", "seidel2d", "matmul_ratio8", "seidel3d_skewed", "heat3d_skewed"})
    benchmark::RegisterBenchmark(("BM_TarvexPhases/" + std::string(kernel)).c_str(), BM_TarvexPhases,
                                 std::string(kernel))
        ->Unit(benchmark::kSecond)
        ->Iterations(1);
  return true;
}();

}  // namespace
