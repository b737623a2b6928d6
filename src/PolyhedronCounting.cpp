// Measuring a polyhedron: counting its integer points, ranks, bounding
// boxes and their volume, unboundedness.

#include <algorithm>
#include <functional>
#include <iostream>
#include <iterator>
#include <sstream>

#include "CertifiedCount.h"
#include "Expression.h"
#include "ISLWrapper.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "Polyhedron.h"
#include "PolylibWrapper.h"
#include "Quast.h"
#include "Rank.h"
#include "Stop.h"

namespace {

typedef std::vector<std::vector<int>> Rows;

// The linear parts of p's rows over the counters (constants 0, parameters
// left out): the cone of the directions in which p goes on for ever, the
// same for every parameter value at which p has a point.
Rows recession_cone(Polyhedron* p, const std::vector<int>& counters) {
  Rows cone;
  std::vector<int> no_parameter;
  for (const std::vector<int>& row : p->to_matrix(counters, no_parameter)) {
    std::vector<int> linear(row.begin(), row.end() - 1);
    linear.push_back(0);
    cone.push_back(linear);
  }
  return cone;
}

// Whether the cone holds an integer point whose entry k is >= 1 (sign 1),
// respectively <= -1 (sign -1): one emptiness test, as the cone is closed
// under positive scaling.
bool reaches(const Rows& cone, const std::vector<int>& counters, size_t k, int sign) {
  std::vector<int> away(counters.size() + 2, 0);
  away[0] = 1;
  away[k + 1] = sign;
  away.back() = -1;
  Rows rows = cone;
  rows.push_back(away);
  Polyhedron ray(rows, counters, std::vector<int>());
  return !ray.is_empty();
}

}  // namespace

// The cone holds a non-zero integer point exactly when it holds one with
// some d_k >= 1 or d_k <= -1, which 2n emptiness tests decide.
int Polyhedron::is_unbounded(const std::vector<int>& counters) {
  Rows cone = recession_cone(expect_single(this, "is_unbounded"), counters);
  for (size_t k = 0; k < counters.size(); k++)
    for (int sign : {1, -1})
      if (reaches(cone, counters, k, sign)) return 1;
  return 0;
}

// ---------------------------------------------------------------------------
// Bounding boxes

int Polyhedron::bounding_box_volume(std::set<int> counters) {
  int c = get_nb_counters();
  for (const std::vector<int>& row : expect_single(this, "bounding_box_volume")->to_matrix())
    for (int q = 0; q < get_nb_parameters(); q++)
      if (row[c + 1 + q] != 0) stop(std::cout, "Polyhedron::bounding_box_volume(): parametrized polyhedron");
  if (is_empty()) return 0;
  // A counter of no constraint would read as a line of the box: only the
  // counters that occur are measured, and a point has volume 1.
  std::set<int> measured;
  for (int counter : get_counters())
    if (counters.count(counter)) measured.insert(counter);
  if (measured.empty()) return 1;
  Polyhedron* projection = project(measured);
  Rows rows = projection->to_matrix(measured, std::set<int>());
  delete projection;
  // "1 >= 0" keeps the width when the projection has no constraint left.
  std::vector<int> positivity(measured.size() + 2, 0);
  positivity[0] = positivity.back() = 1;
  rows.push_back(positivity);
  return PolylibWrapper::bounding_box_volume(rows);
}

int Polyhedron::bounding_box_volume() {
  std::set<int> every_counter;
  for (int c = 0; c < get_nb_counters(); c++) every_counter.insert(c);
  return bounding_box_volume(every_counter);
}

Polyhedron* Polyhedron::bounding_box(std::set<int> counters) {
  if (expect_single(this, "bounding_box")->is_empty()) return clone();
  Polyhedron* box = new Polyhedron();
  for (int counter : counters) {
    Polyhedron* projection = project(counter);
    box->add_constraints(projection);
    delete projection;
  }
  return box;
}

Polyhedron* Polyhedron::bounding_box(std::vector<int> counters) {
  return bounding_box(std::set<int>(counters.begin(), counters.end()));
}

Polyhedron* Polyhedron::bounding_box() { return bounding_box(get_counters()); }

std::vector<Polyhedron*> Polyhedron::boxify(const std::vector<Polyhedron*>& v, std::vector<int> counters) {
  std::vector<Polyhedron*> r;
  for (Polyhedron* p : v) r.push_back(p->bounding_box(counters));
  return r;
}

std::vector<Polyhedron*> Polyhedron::boxify(const std::vector<Polyhedron*>& v) {
  std::vector<Polyhedron*> r;
  for (Polyhedron* p : v) r.push_back(p->bounding_box());
  return r;
}

// ---------------------------------------------------------------------------
// Counting

namespace {

typedef std::map<Polyhedron*, Expression*> Volume;

Volume nothing() { return {{new Polyhedron(), new Expression(0)}}; }

// 1 when no value of the parameters, of either sign, admits a point of p.
// The parameters of a count may be coordinates (those of the symbolic point
// of a rank), which the solver's emptiness test would take >= 0.
int has_no_point(Polyhedron* p) {
  Rows m = p->to_matrix();
  return !m.empty() && ISLWrapper::is_empty(m, static_cast<int>(m[0].size()) - 2);
}

// A piece's domain at full width: its rows [flag | parameters | constant]
// with a zero column per registered counter.
Polyhedron* validity_domain(const Rows& domain) {
  Rows rows;
  for (const std::vector<int>& row : domain) {
    std::vector<int> wide{row[0]};
    wide.insert(wide.end(), get_nb_counters(), 0);
    wide.insert(wide.end(), row.begin() + 1, row.end());
    rows.push_back(wide);
  }
  return new Polyhedron(rows);
}

// The counter ranks of counter leaves; another expression stops the run.
template <typename Container>
std::set<int> counter_leaves(const Container& entries) {
  std::set<int> ranks;
  for (Expression* e : entries) {
    if (!e->is_leaf || !e->is_counter) {
      std::ostringstream text;
      text << *e;
      stop(std::cerr, "Polyhedron::volume: counter expected: " + text.str());
    }
    ranks.insert(e->counter_rank);
  }
  return ranks;
}

void print_framed(const Volume& m) {
  std::cout << "/---" << std::endl;
  print_volume(m);
  std::cout << "\\---" << std::endl;
  del(m);
}

}  // namespace

Volume Polyhedron::volume(std::set<int> counters) {
  for (int c : expect_single(this, "volume")->get_counters())
    if (!counters.count(c))
      stop(std::cerr, "Polyhedron::volume: counter " + get_counter_string(c) + " not in the counter set");
  if (has_no_point(this)) return nothing();
  if (is_unbounded(std::vector<int>(counters.begin(), counters.end())))
    stop(std::cerr, "Polyhedron::volume: unbounded polyhedron");
  Volume result;
  for (const CountPiece& piece : certified_count(to_matrix(counters), counters.size())) {
    Polyhedron* domain = validity_domain(piece.domain);
    if (has_no_point(domain)) {
      delete domain;
      free_evalue(piece.value);
      continue;
    }
    Expression* value = Expression::from_evalue(piece.value);
    free_evalue(piece.value);
    result[domain] = value->evaluate();
    Expression* shown = value->evaluate();
    std::cout << shown->get_class() << std::endl;
    delete shown;
    delete value;
  }
  if (result.empty()) return nothing();
  return result;
}

Volume Polyhedron::volume() { return volume(get_counters()); }

Volume Polyhedron::volume(IndexFunction& f) { return volume(counter_leaves(f.index_mapping)); }

int Polyhedron::volume_int() {
  Volume m = volume();
  int constant = m.size() == 1 && m.begin()->second->is_constant();
  int count = constant ? m.begin()->second->val : 0;
  del(m);
  if (!constant) throw "Polyhedron::int_volume: non constant volume";
  return count;
}

std::pair<Volume, std::map<int, int>> Polyhedron::rank(int depth) {
  std::vector<Expression*> counters, parameters;
  std::map<int, int> parameter_of;
  for (int i = 0; i < get_nb_counters(); i++) {
    std::string name = get_counter_string(i);
    declare_parameter(name + name);
    counters.push_back(new Expression(name));
    parameters.push_back(new Expression(name + name));
    parameter_of[i] = get_parameter_rank(name + name);
  }
  IndexFunction point(counters), symbolic(parameters);
  del(counters);
  del(parameters);
  std::list<Polyhedron*> orders = point.before_no_simplification(&symbolic);
  if (depth < 0 || depth >= static_cast<int>(orders.size())) {
    del(orders);
    stop(std::cerr, "Polyhedron::rank: incorrect depth: " + std::to_string(depth));
  }
  Polyhedron* before = (*std::next(orders.begin(), depth))->clone();
  del(orders);
  Polyhedron* d = clone();
  Polyhedron* at_point = counters_to_parameters(parameter_of);
  d->add_constraints(at_point);
  d->add_constraints(before);
  delete at_point;
  delete before;
  Volume count = d->volume();
  delete d;
  return std::make_pair(count, parameter_of);
}

void Polyhedron::print_volume(std::set<int> counters) { print_framed(volume(counters)); }

void Polyhedron::print_volume(std::set<Expression*> counters) { print_volume(counter_leaves(counters)); }

void Polyhedron::print_volume(IndexFunction& f) { print_framed(volume(f)); }

void Polyhedron::print_volume() { print_framed(volume()); }

// ---------------------------------------------------------------------------
// Symbolic bounds

namespace {

// One of the two bounds: its direction, its name (the operation's, and the
// parameter's that stands for the bound), and the solver's optimum of a
// problem over parameters of either sign.
struct BoundKind {
  bool upper;
  std::string name;
  std::string empty_message;
  std::function<Quast*(Polyhedron*)> optimum;
};

// Whether p, which has points, goes on for ever along `counter` in the
// bound's direction (for some parameter values, and then for all).
bool unbounded_along(Polyhedron* p, int counter, bool upper) {
  std::vector<int> counters = p->get_counters_vec();
  auto at = std::find(counters.begin(), counters.end(), counter);
  if (at == counters.end()) return true;
  return reaches(recession_cone(p, counters), counters, at - counters.begin(), upper ? 1 : -1);
}

// The region of the values (b, parameters) at which the problem has a
// point, b being the bound's parameter. The solver gives it exactly when
// its tree reaches one leaf: the tests on that leaf's path. Where several
// leaves share it, it is a union; the rational projection of the problem
// onto the parameters then stands for it: one polyhedron holding the
// union.
Polyhedron* existence_region(Polyhedron* problem, const BoundKind& kind) {
  Quast* q = kind.optimum(problem);
  std::vector<Polyhedron*> paths = q->get_domains();
  delete q;
  Polyhedron* region = paths.size() == 1 ? paths[0]->clone() : problem->project(std::set<int>());
  del(paths);
  return region;
}

// The bound of `counter` in p, for parameter values of either sign: the
// points (counter, parameters) such that p has a point whose counter is at
// least (upper), respectively at most (lower), that value. A polyhedron
// without point, or a counter without bound in that direction, stops the
// run.
Polyhedron* symbolic_bound(Polyhedron* p, int counter, const BoundKind& kind) {
  if (has_no_point(p)) stop(std::cerr, kind.empty_message);
  if (unbounded_along(p, counter, kind.upper))
    stop(std::cerr, "Polyhedron::" + kind.name + ": the counter " + get_counter_string(counter) +
                        " has no " + (kind.upper ? "upper" : "lower") + " bound");
  declare_parameter(kind.name);
  int b = get_parameter_rank(kind.name);
  Expression* x = Expression::from_counter_rank(counter);
  Expression bound(kind.name);
  Inequation beyond(kind.upper ? GREATER_EQ : LESS_EQ, x, &bound);
  delete x;
  Polyhedron* problem = p->clone();
  problem->add_constraint(&beyond);
  Polyhedron* region = existence_region(problem, kind);
  delete problem;
  Polyhedron* r = region->parameters_to_counters({{b, counter}});
  delete region;
  return r;
}

}  // namespace

Polyhedron* Polyhedron::upper_bound(int counter) {
  BoundKind kind{true, "upper_bound", "Polyhedron::bounding_box: empty polyhedron",
                 [](Polyhedron* problem) { return problem->max_lex_free_parameters(std::vector<int>(), 0); }};
  return symbolic_bound(expect_single(this, "upper_bound"), counter, kind);
}

Polyhedron* Polyhedron::lower_bound(int counter) {
  BoundKind kind{false, "lower_bound", "Polyhedron::lower_bound: empty polyhedron",
                 [](Polyhedron* problem) { return problem->min_lex_free_parameters(std::vector<int>(), 0); }};
  return symbolic_bound(expect_single(this, "lower_bound"), counter, kind);
}
