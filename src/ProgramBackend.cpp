// Code generation: the iscc script of the statements' domains and
// schedules, the run of iscc, and the output file around its loop nest.

#include <fcntl.h>
#include <limits.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

#include "Expression.h"
#include "IndexFunction.h"
#include "IteratorRenaming.h"
#include "Options.h"
#include "Polyhedron.h"
#include "Program.h"
#include "Rank.h"
#include "Schedule.h"
#include "Statement.h"
#include "Stop.h"

namespace {

// ceild and floord divide by a positive d in integers: the quotient rounds
// toward zero, and a remainder of the numerator's sign moves it by one.
// Neither negates nor adds to the numerator, so no int overflows.
const char* const prelude =
    "#include <math.h>\n"
    "#include <iostream>\n"
    "#include <stdio.h>\n"
    "\n"
    "#define min(x,y)  (x<y?x:y)\n"
    "#define max(x,y)  (x<y?y:x)\n"
    "#define ceild(n,d)  (((n) / (d)) + (((n) % (d)) > 0))\n"
    "#define floord(n,d) (((n) / (d)) - (((n) % (d)) < 0))\n"
    "\n";

void print_names(std::ostream& out, const std::set<int>& ranks, int counters) {
  print_variable_list(out, ranks, ",", counters);
}

// The dates of one schedule in isl's syntax, padded with 0 up to `width`
// entries.
void print_dates(std::ostream& out, const IndexFunction* f, size_t width) {
  size_t n = std::max(width, f->index_mapping.size());
  for (size_t k = 0; k < n; k++) {
    if (k) out << ",";
    if (k < f->index_mapping.size()) f->index_mapping[k]->print_iscc(out);
    else out << "0";
  }
}

void write_or_stop(const std::string& name, const std::string& text) {
  std::ofstream file(name, std::ios::binary | std::ios::trunc);
  file << text;
  file.close();
  if (!file) stop(std::cout, "Program::backend_iscc: cannot write " + name);
}

std::string directory_of_executable() {
  char path[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
  if (n <= 0) return "";
  std::string self(path, n);
  return self.substr(0, self.rfind('/') + 1);
}

bool is_executable(const std::string& path) {
  return !path.empty() && access(path.c_str(), X_OK) == 0;
}

// iscc next to the running tarvex first, then along PATH; "" when none.
std::string find_iscc() {
  std::string own = directory_of_executable() + "iscc";
  if (is_executable(own)) return own;
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path ? path : "");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    std::string candidate = (dir.empty() ? "." : dir) + "/iscc";
    if (is_executable(candidate)) return candidate;
  }
  return "";
}

[[noreturn]] void iscc_failed(const std::string& why) {
  stop(std::cout, "Program::backend_iscc: iscc failed (" + why + ")");
}

// Runs iscc on the script file and returns what it printed on standard
// output; its standard error passes through. Stops the run when iscc cannot
// be started or does not exit with status 0.
std::string run_iscc(const std::string& script) {
  std::string iscc = find_iscc();
  if (iscc.empty()) iscc_failed("iscc not found");
  int input = open(script.c_str(), O_RDONLY | O_CLOEXEC);
  if (input < 0) iscc_failed(script + ": " + std::strerror(errno));
  int output[2];
  if (pipe2(output, O_CLOEXEC) != 0) iscc_failed(std::strerror(errno));
  std::cout.flush();
  pid_t child = fork();
  if (child < 0) iscc_failed(std::strerror(errno));
  if (child == 0) {
    dup2(input, STDIN_FILENO);
    dup2(output[1], STDOUT_FILENO);
    execl(iscc.c_str(), "iscc", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(input);
  close(output[1]);
  std::string text;
  char buffer[4096];
  ssize_t n;
  while ((n = read(output[0], buffer, sizeof(buffer))) != 0) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) break;
    text.append(buffer, n);
  }
  close(output[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status)) iscc_failed("terminated by signal " + std::to_string(WTERMSIG(status)));
  if (WEXITSTATUS(status) != 0) iscc_failed("exit status " + std::to_string(WEXITSTATUS(status)));
  return text;
}

std::string script_text(const Program& program, const std::vector<Schedule*>& schedules) {
  std::ostringstream out;
  program.print_iscc(out);
  size_t width = 0;
  for (Schedule* s : schedules) width = std::max(width, s->schedule->index_mapping.size());
  // A parameter that only a date uses (a ZIL-tiled statement's domain is
  // over the split parameters) must be declared too: isl would read it as
  // an output dimension or refuse the map.
  std::set<int> parameters = program.get_parameters();
  for (Schedule* s : schedules)
    for (Expression* date : s->schedule->index_mapping) {
      std::set<int> own = date->get_parameters();
      parameters.insert(own.begin(), own.end());
    }
  out << "theta := [";
  print_names(out, parameters, 0);
  out << "] -> { ";
  for (size_t i = 0; i < program.statement.size(); i++) {
    if (i) out << "; ";
    out << "S" << i << "[";
    print_names(out, program.statement[i]->iteration_domain->get_counters(), 1);
    out << "] -> [";
    print_dates(out, schedules[i]->schedule, width);
    out << "]";
  }
  out << " };\n"
      << "tiled_program := theta*D;\n"
      << "codegen tiled_program;\n";
  return out.str();
}

// "#define S<i>(c1,...) { <statement>; }", counters in registry order,
// written with every counter parenthesised.
void print_macro(std::ostream& out, const Statement& s, int i) {
  std::set<int> counters = s.iteration_domain->get_counters();
  out << "#define S" << i << "(";
  print_names(out, counters, 1);
  out << ") { ";
  if (Options::option["trace"]) {
    out << "printf(\"";
    for (int c : counters) out << get_counter_string(c) << "=%d ";
    out << "\\n\"";
    if (!counters.empty()) out << ",";
    print_names(out, counters, 1);
    out << "); ";
  }
  out << s << "; }\n";
}

std::string output_head(const Program& program) {
  std::ostringstream out;
  out << prelude;
  for (const std::string& declaration : program.variable_declaration) out << declaration << "\n";
  out << "\n";
  expression_print_parenthesis = 1;
  for (size_t i = 0; i < program.statement.size(); i++)
    print_macro(out, *program.statement[i], static_cast<int>(i));
  expression_print_parenthesis = 0;
  out << "\n"
      << "void tiled_kernel() {\n";
  for (const std::string& line : program.kernel_entry) out << line << "\n";
  return out.str();
}

}  // namespace

void Program::backend_iscc(const std::vector<Schedule*>& schedules, const std::string& file) const {
  std::string base = file.substr(0, file.size() - 2);
  std::string script = base + ".iscc";
  write_or_stop(script, script_text(*this, schedules));
  std::cout << "Iscc codegen..." << std::endl;
  std::string head = output_head(*this);
  std::string nest = rename_clashing_iterators(run_iscc(script), head);
  write_or_stop(base + ".tiled.cc", head + nest + "}\n");
}
