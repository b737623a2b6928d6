// Mutated documents of every class must be read back or refused with a
// message: never a signal, never a scanner failure, never a hang.

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>

#include "CommandTest.h"
#include "Domain.h"
#include "Expression.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "ModularMapping.h"
#include "Polyhedron.h"
#include "Preprocessor.h"
#include "Program.h"
#include "Rank.h"
#include "Schedule.h"
#include "Statement.h"
#include "Tiling.h"
#include "Xml.h"
#include "XmlTestSupport.h"

namespace {

using XmlFuzzTest = CommandTest;

// Reads the object of a document, writes it again and prints it in its own
// forms, each of which must succeed or stop with a message.
using Exercise = std::function<void(const Xml&, std::ostream&)>;

void print_statement(const Statement& s, std::ostream& out) {
  if (s.iteration_domain) s.print_iscc(out);
  s.print(out);
}

template <class T>
Exercise read_and_write(std::function<void(T&, std::ostream&)> print) {
  return [print](const Xml& node, std::ostream& out) {
    T object(node);
    object.print_xml(out, "again");
    print(object, out);
  };
}

// Some 2000 cases, a few seconds' work; forking a process under the
// sanitizers costs tens of times more, so their job runs a sample.
#if defined(__SANITIZE_ADDRESS__)
const int rounds = 40;
#else
const int rounds = 290;
#endif

struct Input {
  std::string document;  // the registry, then the object under "object"
  Exercise exercise;
};

std::string with_registry(const std::function<void(std::ostream&)>& write_object) {
  std::ostringstream out;
  rank_print_xml(out, "registry");
  write_object(out);
  return out.str();
}

std::string mutated(const std::string& text, std::mt19937& g) {
  static const std::string alphabet = std::string("<>/ azAZ09\t\n", 12) + '\0' + "\xE9";
  std::string s = text;
  size_t at = g() % (s.size() + 1);
  char c = alphabet[g() % alphabet.size()];
  switch (g() % 6) {
    case 0: s.insert(at, 1, c); break;
    case 1: if (at < s.size()) s.erase(at, 1); break;
    case 2: if (at < s.size()) s[at] = c; break;
    case 3: s.resize(at); break;
    case 4: {
      size_t length = g() % 40;
      s.insert(g() % (s.size() + 1), s.substr(at, length));
      break;
    }
    default: {
      size_t length = g() % 40;
      size_t other = g() % (s.size() + 1);
      if (at > other) std::swap(at, other);
      if (at + length <= other && other + length <= s.size()) {
        std::string a = s.substr(at, length), b = s.substr(other, length);
        s.replace(other, length, a);
        s.replace(at, length, b);
      }
    }
  }
  return s;
}

// 0 when the child read the document or stopped after one line of
// message; else what went wrong.
std::string run_case(const std::string& file, const Input& input) {
  std::string log = file + ".log";
  pid_t child = fork();
  if (child == 0) {
    leave_leaks_unjudged();
    std::freopen(log.c_str(), "w", stdout);
    dup2(fileno(stdout), 2);
    alarm(20);
    const Xml root(file);
    rank_from_xml(root["registry"]);
    std::ostringstream out;
    input.exercise(root["object"], out);
    std::fflush(nullptr);
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  std::ifstream in(log);
  std::string output((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::remove(log.c_str());
  if (WIFSIGNALED(status)) return "signal " + std::to_string(WTERMSIG(status)) + ": " + output;
  int code = WEXITSTATUS(status);
  if (code == 0) return "";
  if (code != 1) return "status " + std::to_string(code) + ": " + output;
  size_t end = output.find('\n');
  if (output.empty() || end != output.size() - 1) return "not one line: " + output;
  return "";
}

TEST_F(XmlFuzzTest, MutatedDocumentsAreReadOrRefused) {
  std::vector<Input> inputs;
  // A rectangular ZIL-tiled program: unions, arrays, kernel entry lines
  // (one loop keeps the documents small enough for some 2000 cases).
  Program* model = model_of(
      "int N;\nint a[64];\nvoid k() {\n  int i;\n#pragma begin_scop\n"
      "  for (i = 0; i < N; i++) {\n#pragma tile_group[0]\n"
      "#pragma tile_ratio[1]\n#pragma tile_hyperplans[i]\n#pragma schedule[__T][i]\n"
      " a[i] = a[i] + i;\n  }\n#pragma end_scop\n}\n");
  Tiling* tiling = nullptr;
  std::pair<Program*, std::vector<Schedule*>> tiled;
  stdout_of([&] { tiling = extract_extended_tiling(model); });
  stdout_of([&] { tiled = tiling->apply(model); });
  ASSERT_FALSE(tiled.first->kernel_entry.empty());
  inputs.push_back({with_registry([&](std::ostream& o) { tiled.first->print_xml(o, "object"); }),
                    read_and_write<Program>([](Program& p, std::ostream& out) {
                      for (Statement* s : p.statement) print_statement(*s, out);
                    })});
  inputs.push_back({with_registry([&](std::ostream& o) { tiling->print_xml(o, "object"); }),
                    read_and_write<Tiling>([](Tiling&, std::ostream&) {})});
  inputs.push_back({with_registry([&](std::ostream& o) { tiled.second[0]->print_xml(o, "object"); }),
                    read_and_write<Schedule>([](Schedule& s, std::ostream& out) {
                      print_iscc(out, std::vector<Schedule*>{&s});
                    })});
  inputs.push_back({with_registry([&](std::ostream& o) { model->statement[0]->print_xml(o, "object"); }),
                    read_and_write<Statement>(print_statement)});
  inputs.push_back({with_registry([&](std::ostream& o) { model->statement[0]->rhs->print_xml(o, "object"); }),
                    read_and_write<Rhs>([](Rhs&, std::ostream&) {})});
  inputs.push_back({with_registry([&](std::ostream& o) { tiled.first->statement[0]->iteration_domain->print_xml(o, "object"); }),
                    [](const Xml& node, std::ostream& out) {
                      Polyhedron* p = nullptr;
                      from_xml(p, node);
                      if (!p) return;
                      p->print_xml(out, "again");
                      p->print_iscc("S", out);
                      out << *p;
                      delete p;
                    }});
  Expression n("N");
  Expression two(2);
  ModularMapping mapping(std::vector<std::vector<int>>{{1, 1}, {0, 1}}, std::vector<Expression*>{&n, &two});
  inputs.push_back({with_registry([&](std::ostream& o) { mapping.print_xml(o, "object"); }),
                    read_and_write<ModularMapping>([](ModularMapping& m, std::ostream& out) { out << m.to_string(); })});

  std::mt19937 g(26);
  std::string file = scratch_file("");
  int cases = 0;
  for (int round = 0; round < rounds; round++) {
    for (const Input& input : inputs) {
      std::ofstream(file, std::ios::binary | std::ios::trunc) << mutated(input.document, g);
      std::string failure = run_case(file, input);
      EXPECT_EQ(failure, "") << "case " << cases;
      cases++;
    }
  }
  std::remove(file.c_str());
  delete tiled.first;
  del(tiled.second);
  delete tiling;
  delete model;
}

}  // namespace
