// Storage mappings against an abstract execution: the program runs in the
// order of its sequential schedule, once over the logical cells and once
// over the mapped ones, and every read of the mapped run must find the value
// the same read finds in the logical run.

#include <algorithm>
#include <sstream>

#include "CommandTest.h"
#include "Expression.h"
#include "IndexFunction.h"
#include "ModularMapping.h"
#include "Operation.h"
#include "PointSets.h"
#include "Polyhedron.h"
#include "PolyhedronBuilders.h"
#include "Program.h"
#include "Rank.h"
#include "Schedule.h"
#include "Statement.h"

namespace {

typedef std::vector<std::vector<int>> Rows;

struct Instance {
  std::vector<int> date;
  int stmt;
  std::map<int, int> counters;  // rank -> value
};

// Every instance with counters in [0, box], in date order.
std::vector<Instance> instances(Program* p, const std::map<int, int>& parameters, int box) {
  std::vector<Schedule*> theta = Schedule::from_Program(p);
  std::vector<Instance> result;
  for (size_t k = 0; k < p->statement.size(); k++) {
    Statement* s = p->statement[k];
    Rows domain = s->iteration_domain->to_matrix();
    std::vector<int> values(s->surrounding_counters.size(), 0);
    while (true) {
      Point x(get_nb_counters() + get_nb_parameters(), 0);
      for (size_t c = 0; c < values.size(); c++) x[s->surrounding_counters[c]] = values[c];
      for (const auto& pair : parameters) x[get_nb_counters() + pair.first] = pair.second;
      if (satisfies(domain, x)) {
        IndexFunction point(std::vector<int>(), std::vector<int>(x.begin(), x.begin() + get_nb_counters()));
        Operation op(static_cast<int>(k), s->surrounding_counters, &point);
        IndexFunction* date = theta[k]->apply(&op);
        Instance instance{{}, static_cast<int>(k), {}};
        for (Expression* e : date->index_mapping) instance.date.push_back(e->evaluate_int({}, {}));
        for (int c : s->surrounding_counters) instance.counters[c] = x[c];
        result.push_back(instance);
        delete date;
      }
      size_t c = 0;
      while (c < values.size() && values[c] == box) values[c++] = 0;
      if (c == values.size()) break;
      ++values[c];
    }
  }
  del(theta);
  std::sort(result.begin(), result.end(), [](const Instance& a, const Instance& b) { return a.date < b.date; });
  return result;
}

std::string cell(const std::string& array, IndexFunction* f, const Instance& at, const std::map<int, int>& parameters) {
  std::ostringstream out;
  out << array;
  for (Expression* e : f->index_mapping) out << "[" << e->evaluate_int(at.counters, parameters) << "]";
  return out.str();
}

// The number of reads of `mapped` that find another value than in
// `original`. A mapped cell read before any write holds the input of the
// first logical cell read there; a second input there is a collision too.
int wrong_reads(Program* original, Program* mapped, const std::map<int, int>& parameters, int box) {
  std::map<std::string, std::string> logical, storage, loaded;
  int wrong = 0;
  int id = 0;
  for (const Instance& at : instances(original, parameters, box)) {
    Statement* s = original->statement[at.stmt];
    Statement* m = mapped->statement[at.stmt];
    auto read = m->rhs_index.begin();
    for (const Read& r : s->rhs_index) {
      const Read& mr = *read++;
      if (r.first.empty()) continue;
      std::string here = cell(r.first, r.second, at, parameters);
      std::string value = logical.count(here) ? logical[here] : "input " + here;
      std::string there = cell(mr.first, mr.second, at, parameters);
      if (!storage.count(there)) {
        if (!loaded.count(there)) loaded[there] = value;
        wrong += loaded[there] != value;
      } else {
        wrong += storage[there] != value;
      }
    }
    std::string value = "write " + std::to_string(id++);
    logical[cell(s->lhs_id, s->lhs_index, at, parameters)] = value;
    storage[cell(m->lhs_id, m->lhs_index, at, parameters)] = value;
  }
  return wrong;
}

class MappedExecutionTest : public CommandTest {
 protected:
  // wrong_reads of the program with `array` mapped by m.
  int wrong_with(ModularMapping* m, const std::string& array, const std::map<std::string, int>& values, int box) {
    Program* mapped = program->clone();
    mapped->apply(array, m);
    std::map<int, int> parameters;
    for (const auto& named : values) parameters[get_parameter_rank(named.first)] = named.second;
    int wrong = wrong_reads(program, mapped, parameters, box);
    delete mapped;
    return wrong;
  }
  void TearDown() override { delete program; }
  Program* program = nullptr;
};

std::string kernel(const std::string& declarations, const std::string& body) {
  return declarations + "void k() {\n#pragma begin_scop\n" + body + "#pragma end_scop\n}\n";
}

TEST_F(MappedExecutionTest, JacobiKeepsTwoTimeSteps) {
  // A trapezoid: step t reads only what step t - 1 wrote, or the inputs.
  program = model_of(kernel("int T;\nint N;\nint t;\nint i;\ndouble A[20][20];\n",
                            "for (t = 1; t < T; t++)\n  for (i = t; i < N - t; i++)\n"
                            "    A[t][i] = A[t-1][i-1] + A[t-1][i] + A[t-1][i+1];\n"));
  std::map<std::string, int> sizes{{"T", 5}, {"N", 12}};
  ModularMapping two_steps({{1, 0}, {0, 1}}, std::vector<int>{2, 12});
  EXPECT_EQ(wrong_with(&two_steps, "A", sizes, 12), 0);
  ModularMapping one_step({{1, 0}, {0, 1}}, std::vector<int>{1, 12});
  EXPECT_GT(wrong_with(&one_step, "A", sizes, 12), 0);
  ModularMapping short_rows({{1, 0}, {0, 1}}, std::vector<int>{2, 5});
  EXPECT_GT(wrong_with(&short_rows, "A", sizes, 12), 0);
  // Each alone too small, their maximum enough.
  ModularMapping* both = ModularMapping::max(&one_step, &short_rows);
  EXPECT_EQ(both->b, (std::vector<int>{2, 12}));
  EXPECT_EQ(wrong_with(both, "A", sizes, 12), 0);
  delete both;
}

TEST_F(MappedExecutionTest, LatticeAvoidsTheWavefrontsLiveCells) {
  program = model_of(kernel("int N;\nint M;\nint i;\nint j;\ndouble A[20][20];\n",
                            "for (i = 1; i < N; i++) {\n  A[i][0] = A[i-1][0] + 1;\n"
                            "  for (j = 1; j < M; j++)\n    A[i][j] = A[i-1][j] + A[i][j-1];\n}\n"));
  std::map<std::string, int> sizes{{"N", 6}, {"M", 7}};
  // Cells one step apart along the diagonal share storage, and so do cells
  // 8 apart in a row, beyond its 7 cells.
  ModularMapping fits(Rows{{1, 1}, {0, 8}});
  EXPECT_EQ(fits.size(), 8);
  EXPECT_EQ(wrong_with(&fits, "A", sizes, 8), 0);
  // 7 apart: A[i][0] takes the storage of A[i-1][6] before it is read.
  ModularMapping too_close(Rows{{1, 1}, {0, 7}});
  EXPECT_GT(wrong_with(&too_close, "A", sizes, 8), 0);
}

TEST_F(MappedExecutionTest, ReadsAtADistanceOfN) {
  program = model_of(kernel("int N;\nint L;\nint i;\ndouble B[40];\n", "for (i = N; i < L; i++)\n  B[i] = B[i-N] + 1;\n"));
  std::map<std::string, int> sizes{{"N", 9}, {"L", 30}};
  // Symbolic moduli N, then N + 1.
  Expression n("N");
  ModularMapping symbolic({{1}}, std::vector<Expression*>{&n});
  EXPECT_EQ(wrong_with(&symbolic, "B", sizes, 30), 0);
  ModularMapping::increment(&symbolic);
  EXPECT_EQ(wrong_with(&symbolic, "B", sizes, 30), 0);
  // N + 1 over 1 <= N <= 9: ten cells, enough at N = 9, and so are 16.
  Polyhedron* context = poly({n >= 1, n <= 9});
  ModularMapping::upper_bound_inc(&symbolic, context);
  delete context;
  EXPECT_EQ(symbolic.b, std::vector<int>{10});
  EXPECT_EQ(wrong_with(&symbolic, "B", sizes, 30), 0);
  ModularMapping::closest_pow2(&symbolic);
  EXPECT_EQ(symbolic.b, std::vector<int>{16});
  EXPECT_EQ(wrong_with(&symbolic, "B", sizes, 30), 0);
  ModularMapping eight({{1}}, std::vector<int>{8});
  EXPECT_GT(wrong_with(&eight, "B", sizes, 30), 0);
}

}  // namespace
