#include "CoreTest.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <sstream>

#include "Array.h"
#include "Polyhedron.h"
#include "Rank.h"

void clear_registries() {
  counter_rank.clear();
  parameter_rank.clear();
  counter_string.clear();
  parameter_string.clear();
  last_true_counter_rank = 0;
  last_counter_rank = 0;
  last_parameter_rank = 0;
  last_counter_parameter.clear();
  current_counter_rank.clear();
  current_parameter_rank.clear();
  alive_counter_rank.clear();
  alive_parameter_rank.clear();
  array.clear();
  actual_counter.clear();
  actual_parameter.clear();
  expression_print_parenthesis = 0;
}

void register_names(const std::vector<std::string>& counters,
                    const std::vector<std::string>& parameters) {
  for (const std::string& c : counters) create_counter_rank(c);
  for (const std::string& q : parameters) create_parameter_rank(q);
}

void IJNTest::SetUp() {
  CoreTest::SetUp();
  register_names({"i", "j"}, {"N"});
}

void IJNLeavesTest::SetUp() {
  CoreTest::SetUp();
  create_counter_rank("i");
  create_counter_rank("j");
  i = var("i");
  j = var("j");
  n = par("N");
}

void IJNLeavesTest::TearDown() { del(std::vector<Expression*>{i, j, n}); }

std::string regex_escaped(const std::string& text) {
  std::string regex;
  for (char c : text) {
    if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos) regex += '\\';
    regex += c;
  }
  return regex;
}

std::string exact_line(const std::string& text) { return "^" + regex_escaped(text) + "\n$"; }

static int leaks_unjudged = 0;

extern "C" int __lsan_is_turned_off() { return leaks_unjudged; }

void leave_leaks_unjudged() { leaks_unjudged = 1; }

// The death test checks what reaches the child's descriptor 2 (captured by
// the parent); the stream under test is pointed there, the other silenced.
// A leak report would land there too, and turn the exit status to 1.
void check_stdout_only() {
  leave_leaks_unjudged();
  std::cout.flush();
  std::fflush(nullptr);
  int null = open("/dev/null", O_WRONLY);
  dup2(2, 1);
  dup2(null, 2);
  close(null);
}

void check_stderr_only() {
  leave_leaks_unjudged();
  std::cout.flush();
  std::fflush(nullptr);
  int null = open("/dev/null", O_WRONLY);
  dup2(null, 1);
  close(null);
}

std::string text(const Expression& e) {
  std::ostringstream out;
  out << e;
  return out.str();
}

std::string text(const Expression* e) { return text(*e); }

long long floor_div(long long a, long long d) {
  if (d < 0) a = -a, d = -d;
  return a >= 0 ? a / d : -((-a + d - 1) / d);
}

bool holds(predicate_t pred, long long l, long long r) {
  switch (pred) {
    case LESS: return l < r;
    case LESS_EQ: return l <= r;
    case GREATER: return l > r;
    case GREATER_EQ: return l >= r;
    case EQ: return l == r;
  }
  return false;
}
