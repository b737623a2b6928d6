// Taking counters out of a polyhedron: rational projection through PolyLib,
// elimination, symmetrisation and images by index functions.

#include <iostream>

#include "Expression.h"
#include "IndexFunction.h"
#include "ISLWrapper.h"
#include "Inequation.h"
#include "Operation.h"
#include "Polyhedron.h"
#include "PolylibWrapper.h"
#include "Quast.h"
#include "Rank.h"
#include "Schedule.h"
#include "Stop.h"
#include "ValueOutOfRange.h"

typedef std::vector<std::vector<int>> Rows;

// ---------------------------------------------------------------------------
// Projection

namespace {

// The rational projection of m (full width) onto the counters kept: PolyLib's,
// or isl's where PolyLib's 64-bit values overflow (constraints with constants
// near INT_MAX combine into products beyond 2^63).
Rows projection_rows(const Rows& m, const std::set<int>& kept) {
  try {
    return PolylibWrapper::project(m, kept);
  } catch (const PolylibOverflow&) {
    return ISLWrapper::project(m, kept, get_nb_counters(), get_nb_parameters());
  }
}

}  // namespace

Polyhedron* Polyhedron::project(std::set<int> counters) {
  if (has_divs) {
    for (int c : Expression::get_counters(get_divs()))
      if (counters.count(c))
        stop(std::cerr, "Polyhedron::project: cannot project constraints with integer divisions");
    // The divisions only involve counters that go away: rewrite them with
    // quotient and remainder counters, which the projection removes too.
    Polyhedron* plain = eliminate_divs_and_simplify();
    Polyhedron* projection = plain->project(counters);
    delete plain;
    return projection;
  }
  return new Polyhedron(projection_rows(to_matrix(), counters));
}

Polyhedron* Polyhedron::project(std::vector<int> counters) {
  return project(std::set<int>(counters.begin(), counters.end()));
}

Polyhedron* Polyhedron::project(int counter) { return project(std::set<int>{counter}); }

namespace {

template <typename Container>
std::set<int> counter_ranks(const Container& leaves) {
  std::set<int> ranks;
  for (Expression* e : leaves) ranks.insert(e->counter_rank);
  return ranks;
}

}  // namespace

Polyhedron* Polyhedron::project(std::set<Expression*> counters) { return project(counter_ranks(counters)); }

Polyhedron* Polyhedron::project(std::vector<Expression*> counters) {
  return project(counter_ranks(counters));
}

Polyhedron* Polyhedron::project(IndexFunction& f) { return project(counter_ranks(f.index_mapping)); }

Polyhedron* Polyhedron::project(Expression& e) { return project(e.counter_rank); }

Polyhedron* Polyhedron::project_no_parameters(std::set<int> counters) {
  Polyhedron* renamed = parameters_to_counters(turn_parameters_to_counters());
  Polyhedron* projection = renamed->project(counters);
  delete renamed;
  return projection;
}

Polyhedron* Polyhedron::project_no_parameters(int counter) {
  return project_no_parameters(std::set<int>{counter});
}

// The kept counters become the parameters "c_<rank>" of a minimum over the
// other counters: where the minimum exists, the kept values extend to an
// integer point. Counters have no sign, so the solve leaves every
// parameter free, and each piece is tested for emptiness with the kept
// counters back as counters (the real parameters stay >= 0 there).
std::vector<Polyhedron*> Polyhedron::project_int(std::set<int> counters) {
  std::map<int, int> to_parameter;
  std::map<int, int> to_counter;
  for (int c : counters) {
    std::string name = get_counter_parameter(c);
    create_parameter_rank(name);
    int p = get_parameter_rank(name);
    to_parameter[c] = p;
    to_counter[p] = c;
  }
  Polyhedron* w = counters_to_parameters(to_parameter);
  Polyhedron* rational = project(counters);
  Quast* q = w->min_lex_free_parameters({}, 0);
  std::map<Polyhedron*, Operation*> pieces = q->_flatten();
  delete w;
  delete q;
  std::vector<Polyhedron*> result;
  for (auto& piece : pieces) {
    if (piece.second->is_bottom) continue;
    Polyhedron* key = piece.first->parameters_to_counters(to_counter);
    key->add_constraints(rational);
    if (!key->is_empty()) result.push_back(key->simplify());
    delete key;
  }
  del(pieces);
  delete rational;
  return result;
}

Polyhedron* Polyhedron::eliminate_divs_and_simplify() {
  std::set<int> counters = get_counters();
  std::pair<std::set<int>, Polyhedron*> rewritten = eliminate_divs();
  Polyhedron* projection = rewritten.second->project(counters);
  delete rewritten.second;
  return projection;
}

std::vector<Polyhedron*> Polyhedron::eliminate_divs(std::vector<Polyhedron*> v) {
  std::vector<Polyhedron*> result;
  for (Polyhedron* p : v) result.push_back(p->eliminate_divs_and_simplify());
  return result;
}

// ---------------------------------------------------------------------------
// Elimination

Polyhedron* Polyhedron::eliminate(std::set<int> counters) {
  std::set<int> kept = get_counters();
  for (int c : counters) kept.erase(c);
  return project(kept);
}

Polyhedron* Polyhedron::eliminate(std::vector<int> counters) {
  return eliminate(std::set<int>(counters.begin(), counters.end()));
}

Polyhedron* Polyhedron::eliminate(int counter) { return eliminate(std::set<int>{counter}); }

Polyhedron* Polyhedron::dark_shadow(std::set<int>) { return new Polyhedron(); }

// ---------------------------------------------------------------------------
// Symmetrisation

namespace {

// Compacted rows [flag | kept counters | kept parameters | constant] back to
// the full width, through the compaction maps; each row keeps its flag.
Rows widen(const Rows& compacted) {
  int nbC = get_nb_counters();
  int nbP = get_nb_parameters();
  int kc = static_cast<int>(actual_counter.size());
  int kp = static_cast<int>(actual_parameter.size());
  Rows rows;
  for (const std::vector<int>& r : compacted) {
    std::vector<int> row(nbC + nbP + 2, 0);
    row[0] = r[0];
    for (int j = 1; j <= kc; j++) row[actual_counter[j - 1] + 1] = r[j];
    for (int k = 0; k < kp; k++) row[nbC + 1 + actual_parameter[k]] = r[kc + 1 + k];
    row.back() = r[kc + kp + 1];
    rows.push_back(row);
  }
  return rows;
}

// Compacts to_matrix() of p and prints the compacted dimension.
Rows compact_and_announce(Polyhedron* p) {
  Rows k = Polyhedron::remove_null_columns(p->to_matrix());
  std::cout << "dim = " << actual_counter.size() + actual_parameter.size() << std::endl;
  return k;
}

}  // namespace

Polyhedron* Polyhedron::symetrize() {
  Rows k = compact_and_announce(this);
  Rows r = PolylibWrapper::symetrize(k, static_cast<int>(actual_counter.size()),
                                     static_cast<int>(actual_parameter.size()));
  return new Polyhedron(widen(r));
}

Polyhedron* Polyhedron::project_and_symetrize(std::set<int> counters) {
  Rows k = compact_and_announce(this);
  std::map<int, int> compact_index = invert(actual_counter);
  std::set<int> kept;
  // A counter of no constraint has no compact column: it is unconstrained
  // and its column stays 0.
  for (int c : counters)
    if (compact_index.count(c)) kept.insert(compact_index[c]);
  Rows r = PolylibWrapper::project_and_symetrize(k, kept, static_cast<int>(actual_counter.size()),
                                                 static_cast<int>(actual_parameter.size()));
  return new Polyhedron(widen(r));
}

Polyhedron* Polyhedron::project_and_symetrize(std::set<Expression*> counters) {
  return project_and_symetrize(counter_ranks(counters));
}

// ---------------------------------------------------------------------------
// Image

namespace {

// The image counters t___0 .. t___{n-1}, registered when new.
std::vector<int> image_counters(size_t n) {
  std::vector<int> ranks;
  for (size_t i = 0; i < n; i++) {
    std::pair<int, Expression*> t = create_counter("t__", static_cast<int>(i));
    delete t.second;
    ranks.push_back(t.first);
  }
  return ranks;
}

// Renames, in p and f, the image counters they already mention (an image of
// an image) to fresh counters, so that t_i == f_i does not speak of t_i
// twice. The renamed copies are new.
std::pair<Polyhedron*, IndexFunction*> free_image_counters(Polyhedron* p, IndexFunction* f,
                                                           const std::vector<int>& ranks) {
  std::set<int> used = p->get_counters();
  for (Expression* e : f->index_mapping) {
    std::set<int> mentioned = e->get_counters();
    used.insert(mentioned.begin(), mentioned.end());
  }
  std::set<int> taken(ranks.begin(), ranks.end());
  taken.insert(used.begin(), used.end());
  std::map<int, int> renaming;
  for (int t : ranks) {
    if (!used.count(t)) continue;
    int fresh;
    do {
      std::pair<int, Expression*> c = create_counter("t__");
      delete c.second;
      fresh = c.first;
    } while (taken.count(fresh));
    taken.insert(fresh);
    renaming[t] = fresh;
  }
  return std::make_pair(p->counters_to_counters(renaming), f->counters_to_counters(renaming));
}

// The projection onto ranks of { t_i == f_{components[i]} } and p; 1 > 1
// when it is empty.
Polyhedron* image_on(Polyhedron* p, IndexFunction* f, const std::vector<int>& components,
                     const std::vector<int>& ranks) {
  std::pair<Polyhedron*, IndexFunction*> own = free_image_counters(p, f, ranks);
  Polyhedron e;
  for (size_t i = 0; i < ranks.size(); i++) {
    Expression* t = Expression::from_counter_rank(ranks[i]);
    Inequation c(EQ, t, own.second->index_mapping[components[i]]);
    e.add_constraint(&c);
    delete t;
  }
  e.add_constraints(own.first);
  delete own.first;
  delete own.second;
  Polyhedron* projection = e.project(ranks);
  if (projection->is_empty()) {
    delete projection;
    Expression one(1);
    Inequation never(GREATER, &one, &one);
    projection = new Polyhedron(&never);
  }
  return projection;
}

}  // namespace

std::pair<Polyhedron*, std::vector<int>> Polyhedron::image(IndexFunction* f) {
  std::vector<int> components;
  for (int i = 0; i < f->size(); i++) components.push_back(i);
  std::vector<int> ranks = image_counters(components.size());
  return std::make_pair(image_on(this, f, components, ranks), ranks);
}

std::pair<Polyhedron*, std::map<int, int>> Polyhedron::image(IndexFunction* f, std::vector<int> dims) {
  for (int d : dims)
    if (d < 0 || d >= f->size()) stop(std::cerr, "Polyhedron::image: component out of range");
  std::vector<int> ranks = image_counters(dims.size());
  std::map<int, int> component_of;
  for (size_t i = 0; i < dims.size(); i++) component_of[ranks[i]] = dims[i];
  return std::make_pair(image_on(this, f, dims, ranks), component_of);
}

std::pair<Polyhedron*, std::vector<int>> Polyhedron::image(Schedule* s) { return image(s->schedule); }
