#include "Schedule.h"

#include <iostream>

#include "Expression.h"
#include "IndexFunction.h"
#include "MatrixPrinter.h"
#include "Operation.h"
#include "Rank.h"
#include "Stop.h"

Schedule::Schedule(IndexFunction* f) : schedule(f->clone()) {}

Schedule::Schedule(IndexFunction* f, std::vector<int> counters) : schedule(f->clone()) {
  schedule->surrounding_counters = counters;
}

Schedule::~Schedule() { delete schedule; }

Schedule* Schedule::clone() { return new Schedule(schedule); }

std::vector<Schedule*> Schedule::clone(std::vector<Schedule*> theta) {
  std::vector<Schedule*> copies;
  for (Schedule* s : theta) copies.push_back(s->clone());
  return copies;
}

std::vector<Schedule*> Schedule::restrict_to_statements(std::vector<Schedule*> theta,
                                                        std::vector<int> stmt) {
  std::vector<Schedule*> kept;
  for (int k : stmt) kept.push_back(theta[k]->clone());
  return kept;
}

void del(std::vector<Schedule*> theta) {
  for (Schedule* s : theta) delete s;
}

int Schedule::dimension() { return schedule->dimension(); }

int Schedule::size() { return schedule->size(); }

namespace {

// Wraps f, which the new schedule adopts.
Schedule* adopt(IndexFunction* f) {
  Schedule* s = new Schedule(f);
  delete f;
  return s;
}

}  // namespace

Schedule* Schedule::keep_first(int n) { return adopt(schedule->keep_first(n)); }

Schedule* Schedule::keep_last(int n) { return adopt(schedule->keep_last(n)); }

IndexFunction* Schedule::counters_to_parameters(std::map<int, int> m) {
  return schedule->counters_to_parameters(m);
}

IndexFunction* Schedule::counters_to_counters(std::map<int, int> m) {
  return schedule->counters_to_counters(m);
}

std::vector<std::vector<int>> Schedule::to_matrix() { return schedule->to_matrix(); }

std::vector<std::vector<int>> Schedule::to_matrix_cloog() { return schedule->to_matrix_cloog(); }

IndexFunction* Schedule::apply(IndexFunction* iteration) {
  // A point built before later counters were registered is shorter than
  // the registry: ranks beyond it are left as they are.
  std::map<int, Expression*> m;
  int covered = std::min(get_nb_counters(), iteration->size());
  for (int c = 0; c < covered; c++) m[c] = iteration->index_mapping[c];
  return schedule->substitute_counters(m);
}

IndexFunction* Schedule::apply(Operation* op) {
  if (op->is_bottom) stop(std::cerr, "Schedule::apply: bottom operation");
  std::map<int, Expression*> m;
  for (int c : op->surrounding_counters) {
    if (c < 0 || c >= op->point->size())
      stop(std::cerr, "Schedule::apply: point has no entry for counter " + std::to_string(c));
    m[c] = op->point->index_mapping[c];
  }
  return schedule->substitute_counters(m);
}

int common_nest(std::vector<int> a, std::vector<int> b) {
  size_t m = std::min(a.size(), b.size());
  int nest = -1;
  for (size_t i = 0; i < m && a[i] == b[i]; i++) nest = static_cast<int>(i);
  return nest;
}

// ---------------------------------------------------------------------------
// Text forms

std::ostream& operator<<(std::ostream& os, Schedule& s) { return os << *s.schedule; }

std::ostream& operator<<(std::ostream& os, std::vector<Schedule*> theta) {
  std::cout << "SCHEDULES" << std::endl << std::endl;
  for (size_t k = 0; k < theta.size(); k++)
    std::cout << "Statement #" << k << ": " << *theta[k] << std::endl;
  return os;
}

void print_iscc(std::ostream& sout, std::vector<Schedule*> schedule) {
  sout << "[] -> {";
  for (size_t k = 0; k < schedule.size(); k++) {
    IndexFunction* f = schedule[k]->schedule;
    sout << (k ? "; " : "") << "S" << k << "[";
    print_variable_list(sout, f->surrounding_counters, ",", 1);
    sout << "] -> [";
    f->print_code(sout);
    sout << "]";
  }
  sout << " }";
}

void Schedule::print() {
  std::cout << "schedule = ";
  std::cout.flush();
  schedule->print();
}

void Schedule::print_vec(std::vector<Schedule*> theta) {
  for (size_t k = 0; k < theta.size(); k++) {
    std::cout << "STATEMENT #" << k << std::endl;
    theta[k]->print();
    std::cout << std::endl << std::endl;
  }
}

void Schedule::print_vec_matrix(std::vector<Schedule*> theta) {
  for (size_t k = 0; k < theta.size(); k++) {
    std::cout << "STATEMENT #" << k << std::endl;
    MatrixPrinter::print_vec_vec(theta[k]->to_matrix());
    std::cout << std::endl << std::endl;
  }
}

bool apart(const IndexFunction* a, const IndexFunction* b, size_t end) {
  for (size_t d = 0; d < end && d < a->index_mapping.size() && d < b->index_mapping.size(); d++) {
    const Expression* x = a->index_mapping[d];
    const Expression* y = b->index_mapping[d];
    bool constants = x->get_counters().empty() && x->get_parameters().empty() && y->get_counters().empty() &&
                     y->get_parameters().empty();
    if (constants && x->evaluate_int(std::map<int, int>()) != y->evaluate_int(std::map<int, int>())) return true;
  }
  return false;
}
