#include "Operation.h"

#include <iostream>

#include "Expression.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "Polyhedron.h"
#include "Schedule.h"
#include "Stop.h"

namespace {

void refuse_bottom(const Operation* op, const std::string& who) {
  if (op->is_bottom) stop(std::cerr, "Operation::" + who + ": bottom operation");
}

// Entry c of the operation's dense point.
Expression* entry(Operation* op, int c, const std::string& who) {
  if (c < 0 || c >= op->point->size())
    stop(std::cerr, "Operation::" + who + ": point has no entry for counter " + std::to_string(c));
  return op->point->index_mapping[c];
}

// The operation of the same statement, counters and tag at `point`, which
// it adopts.
Operation* at(Operation* op, IndexFunction* point) {
  Operation* result = op->has_tag ? new Operation(op->stmt, op->surrounding_counters, point, op->tag)
                                   : new Operation(op->stmt, op->surrounding_counters, point);
  delete point;
  return result;
}

void add_relation(Polyhedron* p, predicate_t pred, Expression* l, Expression* r) {
  Inequation c(pred, l, r);
  p->add_constraint(&c);
}

// a.point[c] == b.point[c] for the first n counters c of `common`.
void add_equalities(Polyhedron* p, Operation* a, Operation* b, const std::vector<int>& common, size_t n) {
  for (size_t j = 0; j < n; j++) add_relation(p, EQ, entry(a, common[j], "<"), entry(b, common[j], "<"));
}

Schedule* schedule_of(const std::vector<Schedule*>& schedules, Operation* op, const std::string& who) {
  if (op->stmt < 0 || op->stmt >= static_cast<int>(schedules.size()))
    stop(std::cerr, "Operation::" + who + ": no schedule for statement " + std::to_string(op->stmt));
  return schedules[op->stmt];
}

// The two dates of o1 and o2, new functions owned by the caller.
std::pair<IndexFunction*, IndexFunction*> dates(const std::vector<Schedule*>& schedules, Operation* o1,
                                                Operation* o2, const std::string& who) {
  refuse_bottom(o1, who);
  refuse_bottom(o2, who);
  Schedule* s1 = schedule_of(schedules, o1, who);
  Schedule* s2 = schedule_of(schedules, o2, who);
  return {s1->apply(o1), s2->apply(o2)};
}

}  // namespace

Operation::Operation() : is_bottom(1) {}

Operation::Operation(int stmt, std::vector<int> counters, IndexFunction* point)
    : stmt(stmt), surrounding_counters(std::move(counters)), point(point->clone()) {}

Operation::Operation(int stmt, std::vector<int> counters, IndexFunction* point, int tag)
    : Operation(stmt, std::move(counters), point) {
  has_tag = 1;
  this->tag = tag;
}

Operation::~Operation() {
  if (is_bottom) return;
  delete point;
  if (!is_full_operation) return;
  delete iteration_domain;
  delete lhs_index;
  for (auto& read : rhs_index) delete read.second;
}

Operation* Operation::clone() {
  if (is_bottom) return new Operation();
  Operation* copy = new Operation(stmt, surrounding_counters, point);
  copy->is_parametrized = is_parametrized;
  copy->mapping = mapping;
  if (is_full_operation) {
    copy->is_full_operation = 1;
    copy->lhs_id = lhs_id;
    copy->lhs_index = lhs_index->clone();
    for (auto& read : rhs_index) copy->rhs_index.push_back({read.first, read.second->clone()});
    copy->iteration_domain = iteration_domain->clone();
  }
  copy->has_tag = has_tag;
  copy->tag = tag;
  return copy;
}

Operation* Operation::substitute_counters(std::map<int, Expression*> m) {
  refuse_bottom(this, "substitute_counters");
  return at(this, point->substitute_counters(m));
}

Operation* Operation::parameters_to_counters(std::map<int, int> m) {
  refuse_bottom(this, "parameters_to_counters");
  return at(this, point->parameters_to_counters(m));
}

Operation* Operation::counters_to_parameters(std::map<int, int> m) {
  refuse_bottom(this, "counters_to_parameters");
  return at(this, point->counters_to_parameters(m));
}

std::list<Polyhedron*> Operation::operator<(Operation& other) {
  refuse_bottom(this, "<");
  refuse_bottom(&other, "<");
  std::vector<int> common;
  const std::vector<int>& a = surrounding_counters;
  const std::vector<int>& b = other.surrounding_counters;
  for (size_t k = 0; k < a.size() && k < b.size() && a[k] == b[k]; k++) common.push_back(a[k]);

  // Piece k: earlier at common counter k, equal at every outer one; the
  // last piece: equal at all of them and the statement comes first.
  std::list<Polyhedron*> pieces;
  for (size_t k = 0; k < common.size(); k++) {
    Polyhedron* piece = new Polyhedron();
    add_relation(piece, LESS, entry(this, common[k], "<"), entry(&other, common[k], "<"));
    add_equalities(piece, this, &other, common, k);
    pieces.push_back(piece);
  }
  if (stmt < other.stmt) {
    Polyhedron* piece = new Polyhedron();
    add_equalities(piece, this, &other, common, common.size());
    pieces.push_back(piece);
  } else {
    Inequation never(0);
    pieces.push_back(new Polyhedron(&never));
  }
  return pieces;
}

std::vector<Polyhedron*> Operation::before(std::vector<Schedule*> schedules, Operation* o1, Operation* o2) {
  std::pair<IndexFunction*, IndexFunction*> d = dates(schedules, o1, o2, "before");
  std::list<Polyhedron*> pieces = *d.first < *d.second;
  std::vector<Polyhedron*> result;
  for (Polyhedron* p : pieces) result.push_back(p->clone());
  del(pieces);
  delete d.first;
  delete d.second;
  return result;
}

std::vector<Polyhedron*> Operation::before_no_simplification(std::vector<Schedule*> schedules,
                                                             Operation* o1, Operation* o2) {
  std::pair<IndexFunction*, IndexFunction*> d = dates(schedules, o1, o2, "before_no_simplification");
  std::vector<Polyhedron*> result = d.first->before_no_simplification_vec(d.second);
  delete d.first;
  delete d.second;
  return result;
}

IndexFunction* Operation::filtered_point() {
  refuse_bottom(this, "filtered_point");
  std::vector<Expression*> entries;
  for (int c : surrounding_counters) entries.push_back(entry(this, c, "filtered_point"));
  return new IndexFunction(surrounding_counters, entries);
}

void Operation::check() {}

void Operation::print() {
  if (is_bottom) {
    std::cout << "_|_";
    return;
  }
  std::cout << "< S" << stmt << ",";
  std::cout.flush();
  point->print();
  std::cout << ">";
}

std::ostream& operator<<(std::ostream& os, Operation& op) {
  if (op.is_bottom) return os << "_|_";
  os << "S" << op.stmt << "," << *op.point;
  if (op.is_full_operation) {
    os << ": " << std::endl << op.lhs_id << *op.lhs_index << " = ";
    for (auto& read : op.rhs_index) os << read.first << *read.second << " ";
    os << std::endl << *op.iteration_domain << std::endl;
  }
  if (op.has_tag) os << "tag: " << op.tag << std::endl;
  return os;
}
