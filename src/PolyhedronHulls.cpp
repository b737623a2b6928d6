// The shape of polyhedra and of small unions of them: convex hulls,
// envelopes, convexity of a union, partitions, vertices and rays, point
// membership, and the simplifications of a union of tiled domains built on
// them.

#include <climits>
#include <cmath>
#include <iostream>
#include <sstream>

#include "Expression.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "Matrix.h"
#include "Polyhedron.h"
#include "PolylibWrapper.h"
#include "Rank.h"
#include "Stop.h"

namespace {

typedef std::vector<std::vector<int>> Rows;
typedef std::vector<Polyhedron*> Union;

// Division-free and without equalities: the constraints an envelope may
// negate one by one.
Polyhedron* normalized(Polyhedron* p) {
  Polyhedron* plain = p->eliminate_divs_and_simplify();
  Polyhedron* split = plain->normalize_no_eq();
  delete plain;
  return split;
}

// 1 when q with the negation of c added has no integer point, that is when
// q lies inside c.
int inside(Polyhedron* q, Inequation* c) {
  Polyhedron copy(q);
  Inequation* negation = c->negate();
  copy.add_constraint(negation);
  delete negation;
  return copy.is_empty();
}

// The constraints of `mine` (normalised) that q lies inside, appended to r.
void keep_satisfied(Polyhedron* r, Polyhedron* mine, Polyhedron* q) {
  for (Inequation* c : mine->constraints)
    if (inside(q, c)) r->add_constraint(c);
}

Union boxes(const Union& v) {
  Union r;
  for (Polyhedron* p : v) r.push_back(p->bounding_box());
  return r;
}

// Every piece of `pieces` minus r (isl road); the pieces are released.
Union minus_each(const Union& pieces, Polyhedron* r) {
  Union next;
  for (Polyhedron* piece : pieces) {
    Union rest = Polyhedron::subtract(piece, r);
    next.insert(next.end(), rest.begin(), rest.end());
  }
  del(pieces);
  return next;
}

// A parameter value truncated toward zero; one outside the int range (or
// no number) would make the conversion undefined.
int truncated(double value) {
  double t = std::trunc(value);
  if (!(t >= INT_MIN && t <= INT_MAX)) stop(std::cerr, "Polyhedron::has: parameter value out of range");
  return static_cast<int>(t);
}

// Compacted rows [flag | kept parameters | constant] widened to the full
// width through actual_parameter, counter columns 0.
Rows widen_context(const Rows& compacted) {
  int c = get_nb_counters();
  Rows rows;
  for (const std::vector<int>& r : compacted) {
    std::vector<int> row(c + get_nb_parameters() + 2, 0);
    row[0] = r[0];
    for (size_t k = 0; k + 2 < r.size(); k++) row[c + 1 + actual_parameter[k]] = r[k + 1];
    row.back() = r.back();
    rows.push_back(row);
  }
  return rows;
}

// One coordinate of a parametric vertex: the row [compact parameters |
// constant | denominator] over the registered parameters, a DIV node when
// the denominator is not 1.
Expression* coordinate(const std::vector<int>& r) {
  int c = get_nb_counters();
  std::vector<int> row(c + get_nb_parameters() + 1, 0);
  for (size_t k = 0; k + 2 < r.size(); k++) row[c + actual_parameter[k]] = r[k];
  row.back() = r[r.size() - 2];
  Expression* numerator = new Expression(row);
  int d = r.back();
  if (d == 1) return numerator;
  Expression denominator(d);
  Expression* quotient = new Expression(DIV, numerator, &denominator);
  delete numerator;
  return quotient;
}

// The counters "delta__k" of _simplify: for inner counter i and tile
// counter t of size s, i -> s*t + delta and delta -> i - s*t.
struct Offsets {
  std::vector<std::vector<Expression*>> choices;  // per inner counter
  std::vector<int> deltas;
  std::map<int, Expression*> inverse;
  ~Offsets() {
    for (const auto& list : choices) del(list);
    del(inverse);
  }
};

void make_offsets(Offsets& o, const std::vector<int>& tile_counter, const std::vector<int>& tile_size,
                  const std::vector<int>& inner_counter) {
  int k = 0;
  for (int i : inner_counter) {
    o.choices.emplace_back();
    Expression* inner = Expression::from_counter_rank(i);
    for (size_t j = 0; j < tile_counter.size(); j++) {
      std::pair<int, Expression*> delta = create_counter("delta_", k++);
      Expression size(tile_size.at(j));
      Expression* tile = Expression::from_counter_rank(tile_counter[j]);
      Expression origin(TIMES, &size, tile);
      o.choices.back().push_back(new Expression(PLUS, &origin, delta.second));
      o.inverse[delta.first] = new Expression(MINUS, inner, &origin);
      o.deltas.push_back(delta.first);
      delete tile;
      delete delta.second;
    }
    delete inner;
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// Convex hulls

Polyhedron* Polyhedron::convex_hull(Polyhedron* p) { return convex_hull(std::list<Polyhedron*>{this, p}); }

Polyhedron* Polyhedron::convex_hull(const Union& v) {
  return convex_hull(std::list<Polyhedron*>(v.begin(), v.end()));
}

Polyhedron* Polyhedron::convex_hull(const std::list<Polyhedron*>& l) {
  if (l.empty()) stop(std::cout, "Polyhedron::convex_hull: empty list of polyhedra");
  std::list<Rows> members;
  for (Polyhedron* p : l) members.push_back(expect_single(p, "convex_hull")->to_matrix());
  return new Polyhedron(PolylibWrapper::convex_hull(members));
}

// ---------------------------------------------------------------------------
// Envelopes

// The constraints are negated in their normalised forms but tested against
// the original arguments, as the copies the arguments give.
Polyhedron* Polyhedron::envelope(Polyhedron* p, Polyhedron* q) {
  expect_single(p, "envelope");
  expect_single(q, "envelope");
  Polyhedron* p_normal = normalized(p);
  Polyhedron* q_normal = normalized(q);
  Polyhedron collected;
  keep_satisfied(&collected, p_normal, q);
  keep_satisfied(&collected, q_normal, p);
  delete p_normal;
  delete q_normal;
  return collected.eliminate_divs_and_simplify();
}

Polyhedron* Polyhedron::envelope(const Union& v) {
  Union normal;
  for (Polyhedron* m : expect_single(v, "envelope")) normal.push_back(normalized(m));
  Polyhedron* r = new Polyhedron();
  for (size_t i = 0; i < normal.size(); i++) {
    for (Inequation* c : normal[i]->constraints) {
      int everywhere = 1;
      for (size_t j = 0; j < normal.size() && everywhere; j++)
        if (j != i && !inside(normal[j], c)) everywhere = 0;
      if (everywhere) r->add_constraint(c);
    }
  }
  del(normal);
  return r;
}

Polyhedron* Polyhedron::bounded_envelope(Polyhedron* p, Polyhedron* q) {
  Polyhedron* box_p = expect_single(p, "bounded_envelope")->bounding_box();
  Polyhedron* box_q = expect_single(q, "bounded_envelope")->bounding_box();
  Polyhedron* e = envelope(box_p, box_q);
  if (e->is_universe()) {
    std::ostringstream report;
    report << "Polyhedron::bounded_envelope: universe result." << std::endl
           << "P:" << std::endl << *p << std::endl << *box_p << std::endl
           << "Q:" << std::endl << *q << std::endl << *box_q << std::endl << *e << std::endl;
    if (q->is_empty()) report << "Q is empty" << std::endl;
    if (box_q->is_empty()) report << "BB(Q) is empty" << std::endl;
    if (box_q->is_universe()) report << "BB(Q) is universe!" << std::endl;
    std::string text = report.str();
    stop(std::cerr, text.substr(0, text.size() - 1));
  }
  delete box_p;
  delete box_q;
  return e;
}

Polyhedron* Polyhedron::bounded_envelope(const Union& v) {
  if (v.empty()) stop(std::cerr, "Polyhedron::bounded_envelope: empty list of polyhedra");
  Union b = boxes(expect_single(v, "bounded_envelope"));
  Polyhedron* of_boxes = envelope(b);
  del(b);
  Polyhedron* e = envelope(v);
  e->add_constraints(of_boxes);
  delete of_boxes;
  return e;
}

// ---------------------------------------------------------------------------
// Convex unions and partitions

std::pair<int, Polyhedron*> Polyhedron::is_convex_union(Polyhedron* p) {
  Polyhedron* hull = convex_hull(p);
  Union outside_this = *hull - *this;
  Union outside_both = outside_this - *p;
  del(outside_this);
  // isl answers an empty difference without any piece.
  int convex = is_empty(outside_both);
  del(outside_both);
  if (convex) return std::make_pair(1, hull);
  delete hull;
  return std::make_pair(0, nullptr);
}

int Polyhedron::is_convex_union_non_parametrized(Polyhedron* p, Polyhedron* q) {
  Rows lacking_in_q, lacking_in_p;
  for (const std::vector<int>& v : p->get_vertices_non_parametrized())
    if (!q->has_non_parametrized(v)) lacking_in_q.push_back(v);
  for (const std::vector<int>& w : q->get_vertices_non_parametrized())
    if (!p->has_non_parametrized(w)) lacking_in_p.push_back(w);
  for (const std::vector<int>& v : lacking_in_q) {
    for (const std::vector<int>& w : lacking_in_p) {
      std::vector<float> middle;
      for (size_t k = 0; k < v.size(); k++) middle.push_back((v[k] + w[k]) / 2.0f);
      if (!p->has_non_parametrized(middle) && !q->has_non_parametrized(middle)) return 0;
    }
  }
  return 1;
}

Union Polyhedron::partition(Polyhedron* p1, Polyhedron* p2) {
  Union r{intersect(expect_single(p1, "partition"), expect_single(p2, "partition"))};
  Union a = subtract(p1, p2), b = subtract(p2, p1);
  r.insert(r.end(), a.begin(), a.end());
  r.insert(r.end(), b.begin(), b.end());
  return r;
}

Union Polyhedron::partition(const Union& v) {
  if (expect_single(v, "partition").empty()) return Union();
  Union R{v[0]->clone()};
  for (Polyhedron* D : v) {
    Union outside{D->clone()};
    for (Polyhedron* r : R) outside = minus_each(outside, r);
    Union inside;
    for (Polyhedron* r : R) inside.push_back(intersect(D, r));
    Union rest;
    for (size_t k = 0; k < R.size(); k++) {
      Union pieces = subtract(R[k], inside[k]);
      rest.insert(rest.end(), pieces.begin(), pieces.end());
    }
    del(R);
    R = outside;
    R.insert(R.end(), inside.begin(), inside.end());
    R.insert(R.end(), rest.begin(), rest.end());
  }
  return R;
}

// ---------------------------------------------------------------------------
// Vertices, rays and points

Rows Polyhedron::get_vertices_non_parametrized() {
  return PolylibWrapper::get_vertices_non_parametrized(expect_single(this, "get_vertices_non_parametrized")->to_matrix());
}

Rows Polyhedron::get_rays_non_parametrized() {
  return PolylibWrapper::get_rays_non_parametrized(expect_single(this, "get_rays_non_parametrized")->to_matrix());
}

Rows Polyhedron::get_rays_non_parametrized(std::set<int> counters) {
  return remove_null_lines(get_sub_matrix(get_rays_non_parametrized(), counters));
}

Rows Polyhedron::get_rays_non_parametrized(std::vector<int> counters) {
  return get_rays_non_parametrized(std::set<int>(counters.begin(), counters.end()));
}

int Polyhedron::has_non_parametrized(std::vector<int> point) {
  return has_non_parametrized(std::vector<float>(point.begin(), point.end()));
}

// An equality row (flag 0, as PolyLib's results hold) needs a sum of
// exactly 0: tested as an inequality it would admit one side of it.
int Polyhedron::has_non_parametrized(std::vector<float> point) {
  expect_single(this, "has_non_parametrized");
  size_t n = get_nb_counters() + get_nb_parameters();
  if (point.size() != n)
    stop(std::cerr, "Polyhedron::has_non_parametrized: point of size " + std::to_string(point.size()) +
                        ", expected " + std::to_string(n));
  for (const std::vector<int>& row : to_matrix()) {
    float sum = 0;
    for (size_t column = 1; column + 1 < row.size(); column++) sum += point[column - 1] * row[column];
    sum += row.back();
    if (row[0] == 0 ? sum != 0 : sum < 0) return 0;
  }
  return 1;
}

// Only f's surrounding counters are substituted: a dense point listing no
// counter substitutes nothing (no caller passes one).
int Polyhedron::has(std::pair<Polyhedron*, IndexFunction*> point) {
  expect_single(this, "has");
  std::map<int, Expression*> m = point.second->to_mapping();
  Polyhedron* at = substitute_counters(m);
  del(m);
  at->add_constraints(expect_single(point.first, "has"));
  int answer = !at->is_empty();
  delete at;
  return answer;
}

int Polyhedron::has(std::map<int, double> parameter_value) {
  expect_single(this, "has");
  std::map<int, Expression*> m;
  for (const auto& value : parameter_value) m[value.first] = new Expression(truncated(value.second));
  Polyhedron* at = substitute_parameters(m);
  del(m);
  int answer = !at->is_empty();
  delete at;
  return answer;
}

std::map<Polyhedron*, IndexFunction*> Polyhedron::get_vertices() {
  Rows K = remove_null_columns(expect_single(this, "get_vertices")->to_matrix());
  std::map<Polyhedron*, IndexFunction*> result;
  for (const auto& vertex : PolylibWrapper::get_vertices(K, actual_parameter.size())) {
    Polyhedron* domain = new Polyhedron(widen_context(vertex.second));
    std::vector<Expression*> coordinates;
    for (int c = 0; c < get_nb_counters(); c++) coordinates.push_back(new Expression(0));
    std::vector<int> surrounding;
    for (size_t r = 0; r < vertex.first.size(); r++) {
      int counter = actual_counter[r];
      delete coordinates[counter];
      coordinates[counter] = coordinate(vertex.first[r]);
      surrounding.push_back(counter);
    }
    result[domain] = new IndexFunction(surrounding, coordinates);
    del(coordinates);
  }
  return result;
}

// ---------------------------------------------------------------------------
// Simplification of a union of tiled domains

std::pair<Polyhedron*, int> Polyhedron::simplify_direct(const Union& domains) {
  if (is_universe(domains)) return std::make_pair(new Polyhedron(), 1);
  return simplify(domains, {}, {}, {});
}

std::pair<Polyhedron*, int> Polyhedron::simplify(const Union& domains, std::vector<int>, std::vector<int>,
                                                 std::vector<int>) {
  std::cerr << "        Domains simplification (" << domains.size() << ")... " << std::flush;
  Polyhedron* e = bounded_envelope(domains);
  std::cerr << "|envelope| = " << e->size() << " default: *no* simplification." << std::endl;
  return std::make_pair(e, 0);
}

Polyhedron* Polyhedron::_simplify(const Union& domains, std::vector<int> tile_counter, std::vector<int> tile_size,
                                  std::vector<int> inner_counter) {
  std::set<int> inner(inner_counter.begin(), inner_counter.end());
  Union tiles;
  for (Polyhedron* d : expect_single(domains, "_simplify")) tiles.push_back(d->project(d->get_counters() - inner));
  Polyhedron* tile_domain = convex_hull(tiles);
  del(tiles);

  Offsets o;
  make_offsets(o, tile_counter, tile_size, inner_counter);
  std::vector<int> sizes;
  for (const auto& list : o.choices) sizes.push_back(list.size());
  Union accumulated;
  for (size_t k = 0; k < domains.size(); k++) accumulated.push_back(new Polyhedron());
  // Odometer over one choice per inner counter; no combination at all
  // when an inner counter has no choice (no tile counter).
  int more = 1;
  for (int size : sizes) more = more && size > 0;
  std::vector<int> pick = first_instance(sizes);
  while (more) {
    std::map<int, Expression*> m;
    for (size_t i = 0; i < inner_counter.size(); i++) m[inner_counter[i]] = o.choices[i][pick[i]];
    for (size_t k = 0; k < domains.size(); k++) {
      Polyhedron* substituted = domains[k]->substitute_counters(m);
      accumulated[k]->add_constraints(substituted);
      delete substituted;
    }
    pick = next_instance(sizes, pick);
    more = !pick.empty();
  }

  std::cerr << "project (" << accumulated.size() << ")" << std::flush;
  Union projections;
  for (Polyhedron* a : accumulated) {
    projections.push_back(a->project(o.deltas));
    std::cerr << "*" << std::flush;
  }
  del(accumulated);
  std::cerr << std::endl << "convex hull (" << projections.size() << ")" << std::endl;
  Polyhedron* hull = convex_hull(projections);
  del(projections);
  Polyhedron* result = hull->substitute_counters(o.inverse);
  delete hull;
  result->add_constraints(tile_domain);
  delete tile_domain;
  return result;
}
