// A quast as a flat list of pieces (the polyhedron of the tests on a leaf's
// path, and the leaf as an operation or as its point), the restriction and
// filtering of such maps, the path polyhedra of the leaves or bottoms,
// pruning of unreachable branches, and node counts.
//
// Every map built here holds fresh keys and values: a restriction clones
// both, whatever it restricts, so that releasing the input and the result
// frees nothing twice.

#include <iostream>

#include "IndexFunction.h"
#include "Inequation.h"
#include "Operation.h"
#include "Polyhedron.h"
#include "Quast.h"
#include "Stop.h"

typedef std::map<Polyhedron*, IndexFunction*> PointMap;
typedef std::map<Polyhedron*, Operation*> OperationMap;

namespace {

// Each key cloned and cut by `cut`, each value cloned.
template <class Value, class Cut>
std::map<Polyhedron*, Value*> cut_keys(const std::map<Polyhedron*, Value*>& m, Cut cut) {
  std::map<Polyhedron*, Value*> result;
  for (auto& piece : m) {
    Polyhedron* key = piece.first->clone();
    cut(key);
    result[key] = piece.second->clone();
  }
  return result;
}

// The entries of m2 join those of m1 (a key met twice takes m2's value).
template <class Value>
std::map<Polyhedron*, Value*> joined(std::map<Polyhedron*, Value*> m1,
                                     const std::map<Polyhedron*, Value*>& m2) {
  for (auto& piece : m2) m1[piece.first] = piece.second;
  return m1;
}

template <class Value>
std::map<Polyhedron*, Value*> cut_by(const std::map<Polyhedron*, Value*>& m, Inequation* c) {
  return cut_keys(m, [c](Polyhedron* key) { key->add_constraint(c); });
}

template <class Value>
std::map<Polyhedron*, Value*> cut_by(const std::map<Polyhedron*, Value*>& m, Polyhedron* p) {
  return cut_keys(m, [p](Polyhedron* key) { key->add_constraints(p); });
}

// One piece per entry of m and member of u.
template <class Value>
std::map<Polyhedron*, Value*> cut_by_union(const std::map<Polyhedron*, Value*>& m,
                                           const std::vector<Polyhedron*>& u) {
  std::map<Polyhedron*, Value*> result;
  for (Polyhedron* member : u)
    result = joined(result, cut_by(m, member));
  return result;
}

// The pieces whose key is not empty, keys simplified, values cloned; keep
// decides on the value.
template <class Value, class Keep>
std::map<Polyhedron*, Value*> non_empty_pieces(const std::map<Polyhedron*, Value*>& m, Keep keep) {
  std::map<Polyhedron*, Value*> result;
  for (auto& piece : m)
    if (keep(piece.second) && !piece.first->is_empty()) result[piece.first->simplify()] = piece.second->clone();
  return result;
}

// The pieces of a test node from those of its subtrees, which it releases:
// the then pieces cut by the test, the else pieces by its complement.
template <class Value>
std::map<Polyhedron*, Value*> below_test(Quast* q, std::map<Polyhedron*, Value*> then_map,
                                         std::map<Polyhedron*, Value*> else_map) {
  std::map<Polyhedron*, Value*> t, e;
  if (!q->has_extended_condition) {
    t = cut_by(then_map, q->condition);
    Inequation* negated = q->condition->negate();
    e = cut_by(else_map, negated);
    delete negated;
  } else {
    t = cut_by_union(then_map, q->extended_condition);
    std::vector<Polyhedron*> complement = Polyhedron::negate(q->extended_condition);
    e = cut_by_union(else_map, complement);
    del(complement);
  }
  del(then_map);
  del(else_map);
  return joined(t, e);
}

}  // namespace

// ---------------------------------------------------------------------------
// Operation maps

OperationMap Quast::_flatten() {
  if (is_empty) return OperationMap{{new Polyhedron(), new Operation()}};
  if (is_leaf) {
    if (!is_tagged) stop(std::cout, "Quast::_flatten: untagged Quast");
    return OperationMap{{new Polyhedron(), new Operation(stmt, surrounding_counters, point, read_rank)}};
  }
  if (!is_if) stop(std::cout, "Quast::_flatten: incorrect Quast");
  return below_test(this, then_quast->_flatten(), else_quast->_flatten());
}

namespace {

// The filters of the flatten forms, applied to the raw pieces, which they
// release.
OperationMap filtered(OperationMap raw, OperationMap (*filter)(OperationMap)) {
  OperationMap result = filter(raw);
  del(raw);
  return result;
}

}  // namespace

OperationMap Quast::flatten() { return filtered(_flatten(), simplify_flattened); }

OperationMap Quast::flatten_keep_bottoms() { return filtered(_flatten(), simplify_flattened_keep_bottoms); }

OperationMap Quast::flatten(Polyhedron* context) {
  OperationMap raw = _flatten();
  OperationMap result = simplify_flattened(raw, context);
  del(raw);
  return result;
}

std::vector<OperationMap> Quast::flatten(std::vector<Quast*> quasts) {
  std::vector<OperationMap> maps;
  for (Quast* q : quasts) maps.push_back(q->flatten());
  return maps;
}

OperationMap Quast::restrict(OperationMap m, Inequation* c) { return cut_by(m, c); }

OperationMap Quast::restrict(OperationMap m, Polyhedron* p) { return cut_by(m, p); }

OperationMap Quast::restrict(OperationMap m, std::vector<Polyhedron*> u) { return cut_by_union(m, u); }

OperationMap Quast::union_flatten(OperationMap m1, OperationMap m2) { return joined(m1, m2); }

OperationMap Quast::simplify_flattened(OperationMap m) {
  return non_empty_pieces(m, [](Operation* o) { return !o->is_bottom; });
}

OperationMap Quast::simplify_flattened_keep_bottoms(OperationMap m) {
  return non_empty_pieces(m, [](Operation*) { return true; });
}

OperationMap Quast::simplify_flattened(OperationMap m, Polyhedron* context) {
  OperationMap result;
  for (auto& piece : m) {
    if (piece.first->is_empty()) continue;
    Polyhedron* meeting = Polyhedron::intersect(piece.first, context);
    int meets = !meeting->is_empty();
    delete meeting;
    if (meets) result[piece.first->simplify()] = piece.second->clone();
  }
  return result;
}

// ---------------------------------------------------------------------------
// Point maps

PointMap Quast::_flatten_point() {
  if (is_empty) return PointMap();
  if (is_leaf) {
    expect_bounded("_flatten_point");
    return PointMap{{new Polyhedron(), point->clone()}};
  }
  if (!is_if) stop(std::cout, "Quast::_flatten: incorrect Quast");
  return below_test(this, then_quast->_flatten_point(), else_quast->_flatten_point());
}

PointMap Quast::flatten_point() { return _flatten_point(); }

PointMap Quast::restrict_point(PointMap m, Inequation* c) { return cut_by(m, c); }

PointMap Quast::restrict_point(PointMap m, Polyhedron* p) { return cut_by(m, p); }

PointMap Quast::restrict_point(PointMap m, std::vector<Polyhedron*> u) { return cut_by_union(m, u); }

PointMap Quast::union_flatten_point(PointMap m1, PointMap m2) { return joined(m1, m2); }

PointMap Quast::simplify_flattened_point(PointMap m) {
  return non_empty_pieces(m, [](IndexFunction*) { return true; });
}

// ---------------------------------------------------------------------------
// Domain walks

// path is the walk's own: handed out at the wanted nodes, released
// elsewhere.
void Quast::gather_domains(Polyhedron* path, std::vector<Polyhedron*>& found, int at_leaves) {
  if (is_empty || is_leaf) {
    if ((is_leaf != 0) == (at_leaves != 0))
      found.push_back(path);
    else
      delete path;
    return;
  }
  if (has_extended_condition) stop(std::cout, "Quast::get_domains: extended condition unhandled");
  std::pair<Polyhedron*, Polyhedron*> paths = split(path);
  delete path;
  then_quast->gather_domains(paths.first, found, at_leaves);
  else_quast->gather_domains(paths.second, found, at_leaves);
}

std::vector<Polyhedron*> Quast::get_domains() {
  domain.clear();
  gather_domains(new Polyhedron(), domain, 1);
  return domain;
}

std::vector<Polyhedron*> Quast::get_bottom_domains() {
  bottom_domain.clear();
  gather_domains(new Polyhedron(), bottom_domain, 0);
  return bottom_domain;
}

// ---------------------------------------------------------------------------
// Pruning and size

Quast* Quast::clean_(Polyhedron* context) {
  if (context->is_empty()) return new Quast();
  if (!is_if || has_extended_condition) return clone();
  std::pair<Polyhedron*, Polyhedron*> contexts = split(context);
  Quast* pruned = with_subtrees(then_quast->clean_(contexts.first), else_quast->clean_(contexts.second));
  delete contexts.first;
  delete contexts.second;
  return pruned;
}

Quast* Quast::clean() {
  Polyhedron universe;
  return clean_(&universe);
}

int Quast::size() {
  if (!is_if) return 1;
  return 1 + then_quast->size() + else_quast->size();
}
