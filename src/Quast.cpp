#include "Quast.h"

#include <climits>
#include <iostream>

#include "Expression.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "Operation.h"
#include "Polyhedron.h"
#include "Stop.h"
#include "pip.h"

std::vector<Polyhedron*> domain;
std::vector<Polyhedron*> bottom_domain;

// ---------------------------------------------------------------------------
// Shared objects: extra links counted by address

namespace {

// Object address -> number of links beyond the first. Absent: one link.
std::map<const void*, int>& extra_links() {
  static std::map<const void*, int> table;
  return table;
}

// Drops one link; 1 when another link remains, so the object must stay.
int drop_link(const void* object) {
  auto found = extra_links().find(object);
  if (found == extra_links().end()) return 0;
  if (--found->second == 0) extra_links().erase(found);
  return 1;
}

template <typename T>
void release(T* object) {
  if (object != nullptr && !drop_link(object)) delete object;
}

}  // namespace

void Quast::add_link(const void* object) {
  if (object != nullptr) extra_links()[object]++;
}

int Quast::links(const void* object) {
  auto found = extra_links().find(object);
  return found == extra_links().end() ? 1 : 1 + found->second;
}

int Quast::shared_objects() { return static_cast<int>(extra_links().size()); }

void Quast::replace_by(Quast* x) {
  Quast* old_then = then_quast;
  Quast* old_else = else_quast;
  IndexFunction* old_point = point;
  Inequation* old_condition = condition;
  std::vector<Polyhedron*> old_members = extended_condition;
  *this = *x;
  release(old_point);
  release(old_condition);
  for (Polyhedron* member : old_members) release(member);
  release(old_then);
  release(old_else);
}

void Quast::become_bottom() {
  Quast bottom;
  replace_by(&bottom);
}

Quast* Quast::shallow_copy() {
  Quast* copy = new Quast();
  *copy = *this;
  return copy;
}

void Quast::relink(Quast*& field, Quast* q, int adopt) {
  // The new link comes first: q may be reachable only through the old one.
  if (!adopt) add_link(q);
  release(field);
  field = q;
}

void Quast::unshare(Quast*& link) {
  if (links(link) > 1) relink(link, link->shallow_copy(), 1);
}

void Quast::drop_test() {
  release(condition);
  condition = nullptr;
  for (Polyhedron* member : extended_condition) release(member);
  extended_condition.clear();
  has_extended_condition = 0;
}

// ---------------------------------------------------------------------------
// Plain constructors

Quast::Quast()
    : is_empty(1), is_leaf(0), is_tagged(0), stmt(0), read_rank(0), point(nullptr), is_if(0),
      condition(nullptr), then_quast(nullptr), else_quast(nullptr), is_then_dag(0), is_else_dag(0),
      has_extended_condition(0), is_unbounded(0) {}

void Quast::make_bottom() { is_empty = 1; }

void Quast::make_leaf(IndexFunction* f) {
  is_empty = 0;
  is_leaf = 1;
  point = f;
}

Quast::Quast(IndexFunction* f) : Quast() { make_leaf(f->clone()); }

Quast::Quast(std::vector<int> counters, int stmt_, IndexFunction* f) : Quast() {
  make_leaf(f->clone());
  is_tagged = 1;
  surrounding_counters = counters;
  stmt = stmt_;
}

Quast::Quast(Inequation* c, Quast* t, Quast* e) : Quast() {
  is_empty = 0;
  is_if = 1;
  condition = c->clone();
  then_quast = t->clone();
  else_quast = e->clone();
}

Quast::Quast(std::vector<Polyhedron*> p, Quast* t, Quast* e) : Quast() {
  is_empty = 0;
  is_if = 1;
  has_extended_condition = 1;
  for (Polyhedron* member : p) extended_condition.push_back(member->clone());
  then_quast = t->clone();
  else_quast = e->clone();
}

namespace {

std::vector<Polyhedron*> non_empty_members(const std::list<Polyhedron*>& p) {
  std::vector<Polyhedron*> kept;
  for (Polyhedron* member : p)
    if (!member->is_empty()) kept.push_back(member);
  return kept;
}

}  // namespace

Quast::Quast(std::list<Polyhedron*> p, Quast* t, Quast* e) : Quast(non_empty_members(p), t, e) {}

Quast::~Quast() {
  release(point);
  release(condition);
  for (Polyhedron* member : extended_condition) release(member);
  release(then_quast);
  release(else_quast);
}

Quast& Quast::operator=(const Quast& other) {
  if (this == &other) return *this;
  is_empty = other.is_empty;
  bottom_value = other.bottom_value;
  is_leaf = other.is_leaf;
  is_tagged = other.is_tagged;
  surrounding_counters = other.surrounding_counters;
  stmt = other.stmt;
  read_rank = other.read_rank;
  point = other.point;
  is_if = other.is_if;
  condition = other.condition;
  then_quast = other.then_quast;
  else_quast = other.else_quast;
  is_then_dag = other.is_then_dag;
  is_else_dag = other.is_else_dag;
  has_extended_condition = other.has_extended_condition;
  extended_condition = other.extended_condition;
  is_unbounded = other.is_unbounded;
  add_link(point);
  add_link(condition);
  for (Polyhedron* member : extended_condition) add_link(member);
  add_link(then_quast);
  add_link(else_quast);
  return *this;
}

// ---------------------------------------------------------------------------
// Solver answers

struct Quast::Decoding {
  int variant;  // 1 .. 5, named in the null-answer message
  int tagged;
  std::vector<int> counters;
  int stmt;
  int skipped;    // solution vectors skipped in front of each list
  int read_rank;
};

namespace {

const char* const kNullAnswer[] = {
    "", "Quast::Quast(pipquast)-1: null pipquast (empty context)",
    "Quast::Quast(pipquast)-2: null pipquast (empty context)",
    "Quast::Quast(pipquast)-3: null pipquast (empty context)",
    "Quast::Quast(pipquast)-4: null pipquast (empty context)", "Quast::Quast(pipquast)-5: null pipquast"};

// A solver denominator as the int of an expression leaf; a value an int
// cannot hold stops rather than being truncated.
int denominator(long long deno) {
  if (deno < 1 || deno > INT_MAX) stop(std::cout, "Quast::Quast(pipquast): value out of range");
  return static_cast<int>(deno);
}

// 1 when the list marks an unbounded optimum (denominators 0). A vector
// whose denominator is neither 0 nor 1 is a rational point, which an
// integer solve never gives.
int is_unbounded_list(PipList* list) {
  int unbounded = 0;
  for (; list != nullptr; list = list->next) {
    PipVector* v = list->vector;
    if (v == nullptr) continue;
    for (int i = 0; i < v->nb_elements; i++) {
      if (v->the_deno[i] == 0)
        unbounded = 1;
      else if (v->the_deno[i] != 1)
        stop(std::cout, "Quast::Quast(pipquast): non-integral solution");
    }
  }
  return unbounded;
}

}  // namespace

Quast::Quast(pipquast* q, const Decoding& how, std::map<int, Expression*> newparm) : Quast() {
  decode(q, how, newparm);
}

void Quast::decode(pipquast* q, const Decoding& how, std::map<int, Expression*> newparm) {
  if (q == nullptr) {
    std::cout << kNullAnswer[how.variant] << std::endl;
    return make_bottom();
  }
  // New parameters are visible in this node and below: this node's map is
  // its own copy, and the expressions made here are freed when it is done.
  std::vector<Expression*> made_here;
  for (PipNewparm* np = q->newparm; np != nullptr; np = np->next) {
    Expression* numerator = Expression::from_PipVector(np->vector, newparm);
    Expression d(denominator(np->deno));
    Expression* quotient = new Expression(DIV, numerator, &d);
    delete numerator;
    made_here.push_back(quotient);
    newparm[np->rank] = quotient;
  }
  if (q->condition != nullptr) {
    Expression* test = Expression::from_PipVector(q->condition, newparm);
    Expression zero(0);
    is_empty = 0;
    is_if = 1;
    condition = new Inequation(GREATER_EQ, test, &zero);
    delete test;
    then_quast = new Quast(q->next_then, how, newparm);
    else_quast = new Quast(q->next_else, how, newparm);
  } else if (q->list != nullptr) {
    int unbounded = is_unbounded_list(q->list);
    make_leaf(IndexFunction::from_PipList(q->list, newparm, how.skipped));
    is_unbounded = unbounded;
    if (how.tagged) {
      is_tagged = 1;
      surrounding_counters = how.counters;
      stmt = how.stmt;
      read_rank = how.read_rank;
    }
  }
  // Neither test nor list: the solver's "no solution", a bottom node.
  for (Expression* e : made_here) delete e;
}

Quast::Quast(pipquast* q) : Quast(q, Decoding{1, 0, {}, 0, 0, 0}, {}) {}

Quast::Quast(pipquast* q, int n) : Quast(q, Decoding{3, 0, {}, 0, n, 0}, {}) {}

Quast::Quast(std::vector<int> counters, int stmt_, pipquast* q)
    : Quast(q, Decoding{2, 1, counters, stmt_, 0, 0}, {}) {}

Quast::Quast(std::vector<int> counters, int stmt_, pipquast* q, int n)
    : Quast(q, Decoding{4, 1, counters, stmt_, n, 0}, {}) {}

Quast::Quast(std::vector<int> counters, int stmt_, pipquast* q, int n, int r)
    : Quast(q, Decoding{5, 1, counters, stmt_, n, r}, {}) {}

// ---------------------------------------------------------------------------
// Copies, comparison and structural queries

Quast* Quast::clone() {
  Quast* copy;
  if (is_empty) {
    copy = new Quast();
    copy->bottom_value = bottom_value;
  } else if (is_leaf) {
    copy = is_tagged ? new Quast(surrounding_counters, stmt, point) : new Quast(point);
    copy->read_rank = read_rank;
    copy->is_unbounded = is_unbounded;
  } else if (has_extended_condition) {
    copy = new Quast(extended_condition, then_quast, else_quast);
  } else {
    copy = new Quast(condition, then_quast, else_quast);
  }
  return copy;
}

int Quast::operator==(Quast& other) {
  if ((is_if && has_extended_condition) || (other.is_if && other.has_extended_condition))
    stop(std::cout, "Quast::==: unhandled extended condition");
  if (is_empty || other.is_empty) return is_empty && other.is_empty;
  if (is_leaf || other.is_leaf) {
    if (!(is_leaf && other.is_leaf && *point == *other.point)) return 0;
    if (is_unbounded != other.is_unbounded || is_tagged != other.is_tagged) return 0;
    return !is_tagged || (surrounding_counters == other.surrounding_counters && stmt == other.stmt &&
                          read_rank == other.read_rank);
  }
  return *condition == *other.condition && *then_quast == *other.then_quast &&
         *else_quast == *other.else_quast;
}

int Quast::empty() {
  if (is_empty) return 1;
  if (is_leaf) return 0;
  return then_quast->empty() && else_quast->empty();
}

int Quast::is_extended() {
  if (!is_if) return 0;
  return has_extended_condition || then_quast->is_extended() || else_quast->is_extended();
}

int Quast::is_comb() {
  if (!is_if) return 1;
  return else_quast->is_empty && then_quast->is_comb();
}

int Quast::is_constant(std::vector<int> v) {
  if (is_empty) return 1;
  if (is_leaf) return point->is_constant(v);
  return then_quast->is_constant(v) && else_quast->is_constant(v);
}

int Quast::height() {
  if (!is_if) return 1;
  return 1 + max(then_height(), else_height());
}

int Quast::get_max_positive_constant_dim(int d) {
  if (is_empty) return -1;
  if (is_if)
    return max(then_quast->get_max_positive_constant_dim(d), else_quast->get_max_positive_constant_dim(d));
  if (is_unbounded) stop(std::cout, "Quast::get_max_positive_constant_dim: unbounded leaf");
  if (d < 0 || d >= point->size())
    stop(std::cout, "Quast::get_max_positive_constant_dim: dimension out of range");
  Expression* x = point->index_mapping[d];
  if (!x->is_constant()) return -3;
  return x->val >= 0 ? x->val : -2;
}

void del(std::vector<Quast*> v) {
  for (Quast* q : v) delete q;
}

namespace {

template <class Value>
void delete_entries(const std::map<Polyhedron*, Value*>& m) {
  for (auto& entry : m) {
    delete entry.first;
    delete entry.second;
  }
}

}  // namespace

void del(std::map<Polyhedron*, IndexFunction*> m) { delete_entries(m); }

void del(std::map<Polyhedron*, Operation*> m) { delete_entries(m); }

void del(std::vector<std::map<Polyhedron*, Operation*>> v) {
  for (auto& m : v) del(m);
}
