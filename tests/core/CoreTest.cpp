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

std::string exact_line(const std::string& text) {
  std::string regex = "^";
  for (char c : text) {
    if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos) regex += '\\';
    regex += c;
  }
  return regex + "\n$";
}

// The death test checks what reaches the child's descriptor 2 (captured by
// the parent); the stream under test is pointed there, the other silenced.
void check_stdout_only() {
  std::cout.flush();
  std::fflush(nullptr);
  int null = open("/dev/null", O_WRONLY);
  dup2(2, 1);
  dup2(null, 2);
  close(null);
}

void check_stderr_only() {
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
