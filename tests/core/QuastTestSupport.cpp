#include "QuastTestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

#include "Condition.h"
#include "Expression.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "Polyhedron.h"
#include "Quast.h"

int floor_value(const Expression* e, const Values& parameters, const Values& counters) {
  if (e->is_leaf) {
    if (e->is_counter) return counters.at(e->counter_rank);
    if (e->is_parameter) return parameters.at(e->parameter_rank);
    return e->val;
  }
  int a = floor_value(e->fg, parameters, counters);
  int b = floor_value(e->fd, parameters, counters);
  switch (e->op) {
    case PLUS: return a + b;
    case MINUS: return a - b;
    case TIMES: return a * b;
    case DIV:
    case FLOOR: return floor_div(a, b);
    case CEIL: return -floor_div(-a, b);
    case MAX: return std::max(a, b);
    default: throw std::logic_error("floor_value: unexpected operator");
  }
}

bool holds_at(const Inequation* c, const Values& parameters, const Values& counters) {
  return holds(c->pred, floor_value(c->lhs, parameters, counters), floor_value(c->rhs, parameters, counters));
}

bool contains_at(Polyhedron* p, const Values& parameters, const Values& counters) {
  for (Inequation* c : p->constraints)
    if (!holds_at(c, parameters, counters)) return false;
  return true;
}

bool contains_at(const std::vector<Polyhedron*>& u, const Values& parameters, const Values& counters) {
  for (Polyhedron* p : u)
    if (contains_at(p, parameters, counters)) return true;
  return false;
}

bool holds_at(const Condition* c, const Values& parameters) {
  if (c->is_leaf) return c->is_value ? c->value == 1 : holds_at(c->ineq, parameters);
  bool l = holds_at(c->fg, parameters);
  bool r = holds_at(c->fd, parameters);
  return c->op == AND ? l && r : l || r;
}

Quast* leaf_at(Quast* q, const Values& parameters, const Values& counters) {
  while (q->is_if) {
    bool holds = q->has_extended_condition ? contains_at(q->extended_condition, parameters, counters)
                                           : holds_at(q->condition, parameters, counters);
    q = holds ? q->then_quast : q->else_quast;
  }
  return q->is_leaf ? q : nullptr;
}

std::string value_at(Quast* q, const Values& parameters, const Values& counters) {
  Quast* leaf = leaf_at(q, parameters, counters);
  if (leaf == nullptr) return "_|_";
  std::ostringstream text;
  if (leaf->is_tagged) text << "S" << leaf->stmt << "r" << leaf->read_rank;
  text << "(";
  for (Expression* e : leaf->point->index_mapping) text << floor_value(e, parameters, counters) << ",";
  text << ")" << (leaf->is_unbounded ? "u" : "");
  return text.str();
}

std::vector<Values> parameter_box() {
  std::vector<Values> box;
  for (int m = 0; m <= 5; m++)
    for (int n = 0; n <= 5; n++) box.push_back({{0, m}, {1, n}});
  return box;
}

std::vector<std::string> values(Quast* q) {
  std::vector<std::string> result;
  for (const Values& p : parameter_box()) result.push_back(value_at(q, p));
  return result;
}

PipVector* pip_vector(const std::vector<long long>& values, long long deno) {
  PipVector* v = static_cast<PipVector*>(std::malloc(sizeof(PipVector)));
  v->nb_elements = static_cast<int>(values.size());
  v->the_vector = static_cast<long long*>(std::malloc(sizeof(long long) * (values.size() + 1)));
  v->the_deno = static_cast<long long*>(std::malloc(sizeof(long long) * (values.size() + 1)));
  for (size_t i = 0; i < values.size(); i++) {
    v->the_vector[i] = values[i];
    v->the_deno[i] = deno;
  }
  return v;
}

PipList* pip_list(const std::vector<PipVector*>& vectors) {
  PipList* head = nullptr;
  for (auto it = vectors.rbegin(); it != vectors.rend(); ++it) {
    PipList* cell = static_cast<PipList*>(std::malloc(sizeof(PipList)));
    cell->vector = *it;
    cell->next = head;
    head = cell;
  }
  return head;
}

PipQuast* pip_node() { return static_cast<PipQuast*>(std::calloc(1, sizeof(PipQuast))); }

PipNewparm* pip_newparm(int rank, PipVector* vector, long long deno) {
  PipNewparm* np = static_cast<PipNewparm*>(std::calloc(1, sizeof(PipNewparm)));
  np->rank = rank;
  np->vector = vector;
  np->deno = deno;
  return np;
}

// ---------------------------------------------------------------------------
// Random trees over M and N

void MNTest::SetUp() {
  CoreTest::SetUp();
  register_names({"i", "j"}, {"M", "N"});
  c = row_constraint(GREATER_EQ, {0, 0, 1, 0, -2});
  d = row_constraint(LESS_EQ, {0, 0, 0, 1, -3});
}

void MNTest::TearDown() {
  delete c;
  delete d;
  EXPECT_EQ(Quast::shared_objects(), 0);
}

Inequation* row_constraint(predicate_t pred, std::vector<int> row) {
  Expression lhs(row);
  Expression zero(0);
  return new Inequation(pred, &lhs, &zero);
}

Quast* constant_leaf(int stmt, int a, int b) {
  IndexFunction point(std::vector<int>(), std::vector<int>{a, b});
  return new Quast({0}, stmt, &point);
}

RandomQuasts::RandomQuasts(unsigned seed) : g(seed) {
  Expression m("M"), n("N"), two(2);
  Expression half(DIV, &m, &two);
  pool = {row_constraint(GREATER_EQ, {0, 0, 1, 0, -2}),  // M >= 2
          row_constraint(GREATER_EQ, {0, 0, 1, 0, -3}),  // M >= 3, implies the first
          row_constraint(LESS_EQ, {0, 0, 0, 1, -3}),     // N <= 3
          row_constraint(GREATER_EQ, {0, 0, 1, -1, 0}),  // M >= N
          row_constraint(GREATER, {0, 0, 1, 1, -5}),     // M + N > 5
          row_constraint(LESS, {0, 0, 0, 1, -2}),        // N < 2
          new Inequation(GREATER_EQ, &half, &n),     // M/2 >= N
          row_constraint(GREATER_EQ, {0, 0, 0, 1, -1}),  // N >= 1
          row_constraint(GREATER_EQ, {0, 0, 1, 0, -2})}; // M >= 2 again
}

RandomQuasts::~RandomQuasts() {
  for (Inequation* c : pool) delete c;
}

int RandomQuasts::pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(g); }

Inequation* RandomQuasts::test() { return pool[pick(static_cast<int>(pool.size()))]; }

Quast* RandomQuasts::leaf(bool tagged) {
  static const std::vector<std::vector<int>> counters = {{0}, {0, 1}, {1}};
  IndexFunction point;
  for (int k = 0; k < 2; k++) {
    Expression entry(std::vector<int>{0, 0, pick(3) - 1, pick(3) - 1, pick(5) - 2});
    if (pick(6) == 0) {
      Expression two(2);
      Expression divided(DIV, &entry, &two);
      point.push_back(&divided);
    } else {
      point.push_back(&entry);
    }
  }
  if (!tagged) return new Quast(&point);
  int stmt = pick(3);
  Quast* leaf = new Quast(counters[stmt], stmt, &point);
  leaf->read_rank = pick(2);
  return leaf;
}

Quast* RandomQuasts::tree(int depth, bool extended, bool tagged) {
  if (depth == 0 || pick(4) == 0) return pick(10) < 7 ? leaf(tagged) : new Quast();
  Quast* t = tree(depth - 1, extended, tagged);
  Quast* e = tree(depth - 1, extended, tagged);
  Quast* node;
  if (extended && pick(4) == 0) {
    std::vector<Polyhedron*> members;
    for (int k = pick(2); k >= 0; k--) {
      Polyhedron* p = new Polyhedron(test());
      if (pick(2)) p->add_constraint(test());
      members.push_back(p);
    }
    node = new Quast(members, t, e);
    del(members);
  } else {
    node = new Quast(test(), t, e);
  }
  delete t;
  delete e;
  return node;
}

Condition* RandomQuasts::condition(int depth) {
  int kind = depth == 0 ? pick(4) : pick(6);
  if (kind == 0) return new Condition(pick(2));
  if (kind == 1) {
    Expression m("M"), n("N"), one(1);
    Expression shifted(PLUS, &n, &one);
    Inequation equal(EQ, &m, &shifted);  // M = N + 1
    return new Condition(&equal);
  }
  if (kind < 4) return new Condition(test());
  Condition* l = condition(depth - 1);
  Condition* r = condition(depth - 1);
  Condition* node = new Condition(kind == 4 ? AND : OR, l, r);
  delete l;
  delete r;
  return node;
}
