#include <random>
#include <sstream>

#include "CommandTest.h"
#include "Expression.h"
#include "IndexFunction.h"
#include "Operation.h"
#include "Program.h"
#include "Rank.h"
#include "Schedule.h"
#include "Statement.h"

namespace {

using SequentialScheduleTest = CommandTest;

// A program of statements nested in the loops of the given counter ranks.
Program* nests(const std::vector<std::vector<int>>& counters) {
  Program* p = new Program(static_cast<int>(counters.size()));
  for (size_t k = 0; k < counters.size(); k++) p->statement[k]->surrounding_counters = counters[k];
  return p;
}

std::vector<std::string> dates(Program* p) {
  std::vector<Schedule*> theta = Schedule::from_Program(p);
  std::vector<std::string> texts;
  for (size_t k = 0; k < theta.size(); k++) {
    std::ostringstream out;
    out << *theta[k];
    texts.push_back(out.str());
    EXPECT_EQ(theta[k]->schedule->surrounding_counters, p->statement[k]->surrounding_counters);
  }
  del(theta);
  delete p;
  return texts;
}

TEST_F(SequentialScheduleTest, DatesFollowTheTextualOrder) {
  register_names({"i", "j", "k"}, {});
  // for i { for j { S0; S1; } S2; } for k { S3; S4; }
  EXPECT_EQ(dates(nests({{0, 1}, {0, 1}, {0}, {2}, {2}})),
            (std::vector<std::string>{"[0][i][0][j][1]", "[0][i][0][j][2]", "[0][i][1]", "[1][k][0]", "[1][k][1]"}));
  // Two loops of one rank are one loop; a statement without loops after a
  // nest gets a single date; so does one at the very start.
  EXPECT_EQ(dates(nests({{0}, {0}})), (std::vector<std::string>{"[0][i][1]", "[0][i][2]"}));
  EXPECT_EQ(dates(nests({{0}, {}})), (std::vector<std::string>{"[0][i][1]", "[1]"}));
  EXPECT_EQ(dates(nests({{}, {0}})), (std::vector<std::string>{"[1]", "[2][i][0]"}));
  EXPECT_TRUE(dates(nests({})).empty());
}

TEST_F(SequentialScheduleTest, RanksBeyondTheProgramsCount) {
  register_names({"i"}, {});
  Program* p = nests({{0}, {0, 4}, {4}});
  for (const char* later : {"a", "b", "c", "d"}) create_extra_counter_rank(later);
  EXPECT_EQ(p->nb_counters, 1);
  EXPECT_EQ(dates(p), (std::vector<std::string>{"[0][i][1]", "[0][i][2][d][0]", "[1][d][0]"}));
}

// A random nest of loops with distinct counters and small constant trip
// counts around assignments to x, numbered in textual order.
struct Nest {
  std::string text;
  int statements = 0;
  int counters = 0;
  // (statement, counter values by name) in execution order.
  std::vector<std::pair<int, std::map<std::string, int>>> trace;
};

struct Item {
  int statement = -1;  // a statement, or else a loop
  std::string counter;
  int trips = 0;
  std::vector<Item> body;
};

std::vector<Item> random_body(std::mt19937& g, Nest& nest, int depth) {
  std::uniform_int_distribution<int> count(1, 3), kind(0, 2), trips(1, 3);
  std::vector<Item> body;
  for (int n = count(g); n > 0; n--) {
    Item item;
    if (depth < 3 && kind(g) != 0) {
      item.counter = "c" + std::to_string(nest.counters++);
      item.trips = trips(g);
      item.body = random_body(g, nest, depth + 1);
    } else {
      item.statement = nest.statements++;
    }
    body.push_back(item);
  }
  return body;
}

void write(const std::vector<Item>& body, std::ostringstream& out) {
  for (const Item& item : body) {
    if (item.statement >= 0) {
      out << "x = " << item.statement << ";\n";
      continue;
    }
    out << "for (" << item.counter << " = 0; " << item.counter << " < " << item.trips << "; " << item.counter
        << "++) {\n";
    write(item.body, out);
    out << "}\n";
  }
}

void run(const std::vector<Item>& body, std::map<std::string, int>& values, Nest& nest) {
  for (const Item& item : body) {
    if (item.statement >= 0) {
      nest.trace.push_back({item.statement, values});
      continue;
    }
    for (int v = 0; v < item.trips; v++) {
      values[item.counter] = v;
      run(item.body, values, nest);
    }
    values.erase(item.counter);
  }
}

Nest random_nest(std::mt19937& g) {
  Nest nest;
  std::vector<Item> body = random_body(g, nest, 0);
  std::ostringstream out;
  for (int c = 0; c < nest.counters; c++) out << "int c" << c << ";\n";
  out << "double x;\nvoid k() {\n#pragma begin_scop\n";
  write(body, out);
  out << "#pragma end_scop\n}\n";
  nest.text = out.str();
  std::map<std::string, int> values;
  run(body, values, nest);
  return nest;
}

// The date of statement s at the given counter values, through the dense
// point of an operation.
std::vector<int> date_at(Schedule* theta, Statement* s, const std::map<std::string, int>& values) {
  std::vector<int> point(get_nb_counters(), 0);
  for (int c : s->surrounding_counters) point[c] = values.at(get_counter_string(c));
  IndexFunction dense(std::vector<int>(), point);
  Operation op(s->stmt_rank, s->surrounding_counters, &dense);
  IndexFunction* date = theta->apply(&op);
  std::vector<int> result;
  for (Expression* e : date->index_mapping) result.push_back(e->evaluate_int({}, {}));
  delete date;
  return result;
}

// a comes strictly before b: they differ within their common length, and
// the first difference is smaller in a.
bool strictly_before(const std::vector<int>& a, const std::vector<int>& b) {
  for (size_t k = 0; k < a.size() && k < b.size(); k++)
    if (a[k] != b[k]) return a[k] < b[k];
  return false;
}

TEST_F(SequentialScheduleTest, DatesIncreaseAlongRandomNests) {
  std::mt19937 g(2311);
  for (int round = 0; round < 12; round++) {
    clear_registries();
    statement_vec.clear();
    Nest nest = random_nest(g);
    Program* p = model_of(nest.text);
    ASSERT_EQ(static_cast<int>(p->statement.size()), nest.statements) << nest.text;
    std::vector<Schedule*> theta = Schedule::from_Program(p);
    std::vector<int> previous;
    for (const auto& step : nest.trace) {
      std::vector<int> now = date_at(theta[step.first], p->statement[step.first], step.second);
      if (!previous.empty()) {
        EXPECT_TRUE(strictly_before(previous, now)) << nest.text;
      }
      previous = now;
    }
    del(theta);
    delete p;
  }
}

}  // namespace
