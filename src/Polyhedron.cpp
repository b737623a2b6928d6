#include "Polyhedron.h"

#include <iostream>
#include <sstream>

#include "Expression.h"
#include "Inequation.h"
#include "Rank.h"
#include "Stop.h"

typedef std::vector<std::vector<int>> Rows;

std::map<int, int> actual_counter;
std::map<int, int> actual_parameter;

// ---------------------------------------------------------------------------
// Construction and destruction

Polyhedron::Polyhedron() : has_matrix(0), nb_counters(0), nb_parameters(0), has_divs(0) {}

Polyhedron::Polyhedron(Inequation& c) : Polyhedron() {
  constraints.push_back(c.clone());
  has_divs = constraints.back()->has_div();
}

Polyhedron::Polyhedron(Inequation* c) : Polyhedron(*c) {}

Polyhedron::Polyhedron(const std::list<Inequation*>& l) : Polyhedron() {
  for (Inequation* c : l) {
    constraints.push_back(c->clone());
    if (constraints.back()->has_div()) has_divs = 1;
  }
}

Polyhedron::Polyhedron(Polyhedron* p) : Polyhedron() {
  for (Inequation* c : p->constraints) constraints.push_back(c->clone());
  has_divs = p->has_divs;
  if (has_divs) return;
  // The copy inherits p's rows as they are, flag-0 rows of a matrix
  // constructor included, instead of rebuilding them.
  p->update_matrix();
  matrix = p->matrix;
  has_matrix = 1;
  nb_counters = get_nb_counters();
  nb_parameters = get_nb_parameters();
}

Polyhedron::Polyhedron(const Rows& M) : Polyhedron() { build_from_rows(M); }

Polyhedron::Polyhedron(const Rows& M, const std::set<int>& C) : Polyhedron() {
  std::vector<int> all_parameters;
  for (int q = 0; q < get_nb_parameters(); q++) all_parameters.push_back(q);
  widen_and_build(M, std::vector<int>(C.begin(), C.end()), all_parameters,
                  "active_counters");
}

Polyhedron::Polyhedron(const Rows& M, const std::set<int>& C, const std::set<int>& P)
    : Polyhedron() {
  widen_and_build(M, std::vector<int>(C.begin(), C.end()),
                  std::vector<int>(P.begin(), P.end()),
                  "active_counters,active_parameters");
}

Polyhedron::Polyhedron(const Rows& M, const std::vector<int>& C, const std::vector<int>& P)
    : Polyhedron() {
  widen_and_build(M, C, P, "active_counters,active_parameters");
}

Polyhedron::~Polyhedron() {
  for (Inequation* c : constraints) delete c;
}

// Stops the run when a listed rank lies outside the registry: such a rank
// would address a column of another variable, or none.
static void check_ranks(const std::vector<int>& C, const std::vector<int>& P,
                        const std::string& who) {
  for (int r : C)
    if (r < 0 || r >= get_nb_counters())
      stop(std::cerr, who + ": counter rank out of range: " + std::to_string(r));
  for (int q : P)
    if (q < 0 || q >= get_nb_parameters())
      stop(std::cerr, who + ": parameter rank out of range: " + std::to_string(q));
}

void Polyhedron::widen_and_build(const Rows& M, const std::vector<int>& C,
                                 const std::vector<int>& P, const std::string& who) {
  const std::string name = "Polyhedron::Polyhedron(" + who + ")";
  int nbC = get_nb_counters();
  int nbP = get_nb_parameters();
  check_ranks(C, P, name);
  size_t width = C.size() + P.size() + 2;
  Rows full;
  for (const std::vector<int>& row : M) {
    if (row.size() != width)
      stop(std::cerr, name + ": expect " + std::to_string(width) +
                          " columns. Found: " + std::to_string(row.size()));
    std::vector<int> wide(nbC + nbP + 2, 0);
    wide[0] = row[0];
    size_t k = 1;
    for (int r : C) wide[r + 1] = row[k++];
    for (int q : P) wide[nbC + 1 + q] = row[k++];
    wide.back() = row.back();
    full.push_back(wide);
  }
  build_from_rows(full);
}

void Polyhedron::build_from_rows(const Rows& M) {
  size_t width = get_nb_counters() + get_nb_parameters() + 2;
  for (const std::vector<int>& row : M)
    if (row.size() != width)
      stop(std::cerr, "Polyhedron::Polyhedron(matrix): expect " + std::to_string(width) +
                          " columns. Found: " + std::to_string(row.size()));
  for (const std::vector<int>& row : M) constraints.push_back(new Inequation(row));
  matrix = M;
  has_matrix = 1;
  nb_counters = get_nb_counters();
  nb_parameters = get_nb_parameters();
  has_divs = 0;
}

// ---------------------------------------------------------------------------
// The virtual operations of a single polyhedron

Polyhedron* Polyhedron::clone() { return new Polyhedron(constraints); }

void Polyhedron::add_constraint(Inequation* c) {
  constraints.push_back(c->clone());
  has_matrix = 0;
  if (constraints.back()->has_div()) has_divs = 1;
}

void Polyhedron::add_constraints(Polyhedron* q) {
  // Snapshots, so that adding a polyhedron to itself terminates.
  std::list<Inequation*> theirs = q->constraints;
  has_divs = has_divs || q->has_divs;
  if (!has_divs) {
    update_matrix();
    q->update_matrix();
    Rows rows = q->matrix;
    matrix.insert(matrix.end(), rows.begin(), rows.end());
    has_matrix = 1;
  } else {
    has_matrix = 0;
  }
  for (Inequation* c : theirs) add_constraint(c);
}

std::set<int> Polyhedron::get_counters() {
  std::set<int> result;
  for (Inequation* c : constraints) {
    std::set<int> mine = c->get_counters();
    result.insert(mine.begin(), mine.end());
  }
  return result;
}

std::set<int> Polyhedron::get_parameters() {
  std::set<int> result;
  for (Inequation* c : constraints) {
    std::set<int> mine = c->get_parameters();
    result.insert(mine.begin(), mine.end());
  }
  return result;
}

int Polyhedron::is_single_polyhedron() { return 1; }

int Polyhedron::is_domain() { return 0; }

Polyhedron* Polyhedron::expect_single(Polyhedron* p, const std::string& operation) {
  if (!p->is_single_polyhedron()) stop(std::cerr, "Polyhedron::" + operation + ": expect single polyhedra");
  return p;
}

const std::vector<Polyhedron*>& Polyhedron::expect_single(const std::vector<Polyhedron*>& v,
                                                           const std::string& operation) {
  for (Polyhedron* p : v) expect_single(p, operation);
  return v;
}

// ---------------------------------------------------------------------------
// Growing and combining

void Polyhedron::add(Inequation& c) { Polyhedron::add_constraint(&c); }

Polyhedron* Polyhedron::intersect(Polyhedron* p, Polyhedron* q) {
  Polyhedron* result = new Polyhedron(p);
  result->add_constraints(q);
  return result;
}

int Polyhedron::size() { return (int)constraints.size(); }

Polyhedron* universe() {
  Polyhedron* p = new Polyhedron();
  Expression zero(0);
  Inequation c(GREATER_EQ, &zero, &zero);
  p->add_constraint(&c);
  return p;
}

Polyhedron* empty() {
  Polyhedron* p = new Polyhedron();
  Expression zero(0);
  Inequation c(GREATER, &zero, &zero);
  p->add_constraint(&c);
  return p;
}

Polyhedron* operator&&(Inequation& a, Inequation& b) {
  Polyhedron* p = new Polyhedron(&a);
  p->add_constraint(&b);
  return p;
}

Polyhedron* operator&&(Polyhedron& p, Inequation& b) {
  Polyhedron* result = new Polyhedron(&p);
  result->add_constraint(&b);
  return result;
}

// ---------------------------------------------------------------------------
// Constraint matrices

Rows Polyhedron::constraint_rows(Inequation* c) {
  try {
    auto rows = c->to_matrix();
    return Rows(rows.begin(), rows.end());
  } catch (const char*) {
    std::ostringstream text;
    text << "Polyhedron::to_matrix: non-affine constraint: " << *c;
    stop(std::cerr, text.str());
  }
}

int Polyhedron::cache_is_valid() {
  return has_matrix && nb_counters == get_nb_counters() &&
         nb_parameters == get_nb_parameters();
}

void Polyhedron::update_matrix() {
  if (cache_is_valid()) return;
  Rows rows;
  for (Inequation* c : constraints)
    for (const std::vector<int>& row : constraint_rows(c)) rows.push_back(add_one(row));
  matrix = rows;
  has_matrix = 1;
  nb_counters = get_nb_counters();
  nb_parameters = get_nb_parameters();
}

Rows Polyhedron::to_matrix() {
  update_matrix();
  return matrix;
}

// Rows [flag | C | P | constant] taken from the full matrix; every parameter
// in rank order when P is null.
Rows Polyhedron::compact(const std::vector<int>& C, const std::vector<int>* P) {
  Rows full = to_matrix();
  int nbC = get_nb_counters();
  std::vector<int> parameters;
  if (P) {
    parameters = *P;
  } else {
    for (int q = 0; q < get_nb_parameters(); q++) parameters.push_back(q);
  }
  check_ranks(C, parameters, "Polyhedron::to_matrix");
  Rows result;
  for (const std::vector<int>& row : full) {
    std::vector<int> out(C.size() + parameters.size() + 2, 0);
    out[0] = row[0];
    size_t k = 1;
    for (int r : C) out[k++] = row[r + 1];
    for (int q : parameters) out[k++] = row[nbC + 1 + q];
    out.back() = row.back();
    result.push_back(out);
  }
  return result;
}

Rows Polyhedron::to_matrix(const std::set<int>& C) {
  return compact(std::vector<int>(C.begin(), C.end()), nullptr);
}

Rows Polyhedron::to_matrix(const std::vector<int>& C) { return compact(C, nullptr); }

Rows Polyhedron::to_matrix(const std::set<Expression*>& E) {
  std::set<int> C;
  for (Expression* e : E) C.insert(e->counter_rank);
  return to_matrix(C);
}

Rows Polyhedron::to_matrix(const std::set<int>& C, const std::set<int>& P) {
  std::vector<int> parameters(P.begin(), P.end());
  return compact(std::vector<int>(C.begin(), C.end()), &parameters);
}

Rows Polyhedron::to_matrix(const std::vector<int>& C, const std::vector<int>& P) {
  return compact(C, &P);
}

Rows Polyhedron::to_matrix_linear(const std::vector<int>& C) {
  Rows result;
  for (const std::vector<int>& row : to_matrix(C))
    result.push_back(std::vector<int>(row.begin() + 1, row.begin() + 1 + C.size()));
  return result;
}

Rows Polyhedron::to_matrix_without_1() {
  Rows result;
  for (Inequation* c : constraints)
    for (const std::vector<int>& row : constraint_rows(c)) result.push_back(row);
  return result;
}

std::pair<Rows, Rows> Polyhedron::to_matrix_context() {
  int nbC = get_nb_counters();
  std::pair<Rows, Rows> result;
  for (const std::vector<int>& row : to_matrix()) {
    if (is_context(row)) {
      std::vector<int> compacted(1, row[0]);
      compacted.insert(compacted.end(), row.begin() + 1 + nbC, row.end());
      result.first.push_back(compacted);
    } else {
      result.second.push_back(row);
    }
  }
  return result;
}

int is_context(const std::vector<int>& row) {
  size_t nbC = get_nb_counters();
  size_t nbP = get_nb_parameters();
  for (size_t i = 1; i <= nbC && i < row.size(); i++)
    if (row[i] != 0) return 0;
  for (size_t i = nbC + 1; i <= nbC + nbP && i < row.size(); i++)
    if (row[i] != 0) return 1;
  return 0;
}

int is_null(const std::vector<int>& row) {
  for (size_t i = 1; i < row.size(); i++)
    if (row[i] != 0) return 0;
  return 1;
}

std::vector<int> add_one(std::vector<int> v) {
  v.insert(v.begin(), 1);
  return v;
}

std::vector<int> add_zero(std::vector<int> v) {
  v.insert(v.begin(), 0);
  return v;
}

// ---------------------------------------------------------------------------
// Occurrence queries

std::vector<int> Polyhedron::get_counters_vec() {
  std::set<int> counters = get_counters();
  return std::vector<int>(counters.begin(), counters.end());
}

std::set<int> Polyhedron::get_counters(const std::vector<Polyhedron*>& v) {
  std::set<int> result;
  for (Polyhedron* p : v) {
    std::set<int> mine = p->get_counters();
    result.insert(mine.begin(), mine.end());
  }
  return result;
}

std::set<int> Polyhedron::get_parameters(const std::vector<Polyhedron*>& v) {
  std::set<int> result;
  for (Polyhedron* p : v) {
    std::set<int> mine = p->get_parameters();
    result.insert(mine.begin(), mine.end());
  }
  return result;
}

std::vector<Expression*> Polyhedron::get_divs() {
  std::vector<Expression*> result;
  for (Inequation* c : constraints) {
    std::vector<Expression*> mine = c->get_divs();
    result.insert(result.end(), mine.begin(), mine.end());
  }
  return result;
}

// ---------------------------------------------------------------------------
// Release functions

void del(std::list<Polyhedron*> l) {
  for (Polyhedron* p : l) delete p;
}

void del(std::vector<Polyhedron*> l) {
  for (Polyhedron* p : l) delete p;
}

void del(std::vector<std::vector<Polyhedron*>> l) {
  for (const std::vector<Polyhedron*>& inner : l) del(inner);
}

void del(std::map<int, Polyhedron*> m) {
  for (const auto& entry : m) delete entry.second;
}

void del(std::map<Polyhedron*, Expression*> m) {
  for (const auto& entry : m) {
    delete entry.first;
    delete entry.second;
  }
}
