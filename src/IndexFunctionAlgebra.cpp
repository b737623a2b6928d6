// Index function algebra: equality and order polyhedra, composition,
// selection, vector geometry and inverses.

#include <iostream>

#include "Expression.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "Matrix.h"
#include "Polyhedron.h"
#include "PolylibWrapper.h"
#include "Stop.h"

typedef std::vector<std::vector<int>> Rows;

namespace {

// Appends a copy of l pred r to p.
void add_relation(Polyhedron* p, predicate_t pred, const Expression* l, const Expression* r) {
  Inequation c(pred, l, r);
  p->add_constraint(&c);
}

const char* kDimensionsNotEqual = "IndexFunction::equal: index dimensions not equal";

}  // namespace

// ---------------------------------------------------------------------------
// Equality and sign

Polyhedron* IndexFunction::equal(IndexFunction* index1, IndexFunction* index2) {
  if (index1->size() != index2->size()) {
    std::cout << kDimensionsNotEqual << std::endl << *index1 << " vs " << *index2 << std::endl;
    std::exit(1);
  }
  Polyhedron* p = new Polyhedron();
  for (int i = 0; i < index1->size(); i++)
    add_relation(p, EQ, index1->index_mapping[i], index2->index_mapping[i]);
  return p;
}

Polyhedron* IndexFunction::equal(IndexFunction* index1, IndexFunction* index2, std::set<int> counters) {
  if (index1->size() != index2->size()) stop(std::cout, kDimensionsNotEqual);
  Polyhedron* p = new Polyhedron();
  for (int i = 0; i < index1->size(); i++)
    if (counters.count(i)) add_relation(p, EQ, index1->index_mapping[i], index2->index_mapping[i]);
  return p;
}

Polyhedron* IndexFunction::equal(std::map<int, Expression*> m) {
  Polyhedron* p = new Polyhedron();
  for (const auto& entry : m) {
    Expression* counter = Expression::from_counter_rank(entry.first);
    add_relation(p, EQ, counter, entry.second);
    delete counter;
  }
  return p;
}

Polyhedron& equal(IndexFunction& index1, IndexFunction& index2) {
  if (index1.size() != index2.size()) stop(std::cout, kDimensionsNotEqual);
  return *IndexFunction::equal(&index1, &index2);
}

Polyhedron* IndexFunction::positive() {
  Polyhedron* p = new Polyhedron();
  Expression zero(0);
  for (Expression* e : index_mapping) add_relation(p, GREATER_EQ, e, &zero);
  return p;
}

int IndexFunction::operator==(IndexFunction& index) {
  if (size() != index.size()) return 0;
  for (int i = 0; i < size(); i++)
    if (*index_mapping[i] != *index.index_mapping[i]) return 0;
  return surrounding_counters == index.surrounding_counters;
}

// ---------------------------------------------------------------------------
// Lexicographic order

namespace {

// Piece k of "f before g": f_k < g_k and f_j == g_j for every j < k, the
// equalities written as two inequalities.
Polyhedron* order_piece(IndexFunction* f, IndexFunction* g, int k) {
  Polyhedron* p = new Polyhedron();
  add_relation(p, LESS, f->index_mapping[k], g->index_mapping[k]);
  for (int j = 0; j < k; j++) {
    add_relation(p, LESS_EQ, f->index_mapping[j], g->index_mapping[j]);
    add_relation(p, GREATER_EQ, f->index_mapping[j], g->index_mapping[j]);
  }
  return p;
}

int common_dimension(IndexFunction* f, IndexFunction* g) { return std::min(f->size(), g->size()); }

}  // namespace

std::list<Polyhedron*> IndexFunction::before_no_simplification(IndexFunction* index) {
  std::list<Polyhedron*> pieces;
  for (int k = 0; k < common_dimension(this, index); k++) pieces.push_back(order_piece(this, index, k));
  return pieces;
}

std::vector<Polyhedron*> IndexFunction::before_no_simplification_vec(IndexFunction* index) {
  std::list<Polyhedron*> pieces = before_no_simplification(index);
  return std::vector<Polyhedron*>(pieces.begin(), pieces.end());
}

std::list<Polyhedron*> IndexFunction::operator<(IndexFunction& index) {
  std::list<Polyhedron*> pieces;
  for (int k = 0; k < common_dimension(this, &index); k++) {
    Polyhedron* piece = order_piece(this, &index, k);
    if (piece->is_universe()) {
      // Always before: every later piece is covered.
      delete piece;
      del(pieces);
      return {universe()};
    }
    if (piece->is_empty())
      delete piece;
    else
      pieces.push_back(piece);
  }
  return pieces;
}

// ---------------------------------------------------------------------------
// Composition

std::map<int, Expression*> IndexFunction::to_mapping_dense() {
  if (surrounding_counters.size() != index_mapping.size())
    stop(std::cerr, "IndexFunction::to_mapping_dense: input/output dims mismatch: (input:" +
                        std::to_string(surrounding_counters.size()) +
                        " output:" + std::to_string(index_mapping.size()) + ")");
  std::map<int, Expression*> m;
  for (size_t i = 0; i < index_mapping.size(); i++) {
    delete m[surrounding_counters[i]];
    m[surrounding_counters[i]] = index_mapping[i]->clone();
  }
  return m;
}

IndexFunction* IndexFunction::apply_dense(IndexFunction* index) {
  std::map<int, Expression*> m = index->to_mapping_dense();
  IndexFunction* r = substitute_counters(m);
  del(m);
  return r;
}

IndexFunction* IndexFunction::power(int k) {
  if (k < 1) stop(std::cerr, "IndexFunction::power(k): expect k>=1, found " + std::to_string(k));
  std::map<int, Expression*> m = to_mapping_dense();
  IndexFunction* r = clone();
  for (int step = 1; step < k; step++) {
    IndexFunction* substituted = r->substitute_counters(m);
    delete r;
    r = substituted->simplify_matrix();
    delete substituted;
  }
  del(m);
  return r;
}

// ---------------------------------------------------------------------------
// Selection

IndexFunction* IndexFunction::keep_first(int n) {
  if (n < 0 || n > size()) stop(std::cerr, "IndexFunction::keep_first: bigger than the dimension");
  std::vector<Expression*> first(index_mapping.begin(), index_mapping.begin() + n);
  return new IndexFunction(surrounding_counters, first);
}

IndexFunction* IndexFunction::keep_last(int n) {
  if (n < 0 || n > size()) stop(std::cerr, "IndexFunction::keep_last: bigger than the dimension");
  std::vector<Expression*> last(index_mapping.end() - n, index_mapping.end());
  return new IndexFunction(surrounding_counters, last);
}

IndexFunction* IndexFunction::keep(std::vector<int> dim) {
  std::vector<Expression*> kept;
  for (int position : dim) {
    if (position < 0 || position >= size()) stop(std::cerr, "IndexFunction::keep: out of bounds");
    kept.push_back(index_mapping[position]);
  }
  return new IndexFunction(kept);
}

IndexFunction* IndexFunction::sub(IndexFunction* delta) {
  if (size() != delta->size()) stop(std::cerr, "IndexFunction::sub: incompatible dimensions");
  IndexFunction* r = new IndexFunction();
  for (int i = 0; i < size(); i++)
    r->index_mapping.push_back(new Expression(MINUS, index_mapping[i], delta->index_mapping[i]));
  return r;
}

// ---------------------------------------------------------------------------
// Vector geometry

std::vector<IndexFunction*> IndexFunction::orth() {
  if (index_mapping.empty()) stop(std::cerr, "IndexFunction::orth: null vector");
  std::vector<IndexFunction*> result;
  Expression minus_one(-1);
  for (int i = 1; i < size(); i++) {
    // g_i = (f_i, 0, ..., -1 * f_0 at i, ..., 0): f_0 f_i - f_i f_0 = 0.
    IndexFunction* g = new IndexFunction(std::vector<int>(), std::vector<int>(size(), 0));
    delete g->index_mapping[0];
    g->index_mapping[0] = index_mapping[i]->clone();
    delete g->index_mapping[i];
    g->index_mapping[i] = new Expression(TIMES, &minus_one, index_mapping[0]);
    result.push_back(g);
  }
  return result;
}

std::pair<int, std::vector<int>> IndexFunction::is_translation(IndexFunction* index) {
  if (size() != index->size()) stop(std::cerr, "IndexFunction::is_translation: dimension mismatch");
  std::vector<int> offsets;
  for (int i = 0; i < size(); i++) {
    if (!index_mapping[i]->is_translation(index->index_mapping[i])) return std::make_pair(0, offsets);
    Expression difference(MINUS, index_mapping[i], index->index_mapping[i]);
    offsets.push_back(difference.to_vector().back());
  }
  return std::make_pair(1, offsets);
}

int IndexFunction::is_reuse_vector(IndexFunction* vec) {
  IndexFunction* linear = linear_part();
  IndexFunction* moved = linear->apply_dense(vec);
  int answer = moved->is_null_index();
  delete moved;
  delete linear;
  return answer;
}

Expression* IndexFunction::dot(IndexFunction* index) {
  if (size() != index->size()) stop(std::cerr, "IndexFunction::dot: dimensions mismatch");
  Expression* sum = new Expression(0);
  for (int i = 0; i < size(); i++) {
    Expression product(TIMES, index_mapping[i], index->index_mapping[i]);
    Expression* next = new Expression(PLUS, sum, &product);
    delete sum;
    sum = next;
  }
  Expression* simplified = sum->simplify();
  delete sum;
  return simplified;
}

// ---------------------------------------------------------------------------
// Inverses

namespace {

// The linear parts A (over the counters) and B (over the parameters) and the
// constant column c of f over the listed ranks.
struct AffineParts {
  Rows a, b;
  std::vector<int> c;
};

AffineParts split(IndexFunction* f, const std::vector<int>& counters, const std::vector<int>& parameters) {
  AffineParts parts;
  Rows a_c = f->to_matrix(counters, std::vector<int>());
  Rows b_c = f->to_matrix(std::vector<int>(), parameters);
  for (size_t i = 0; i < a_c.size(); i++) {
    parts.c.push_back(a_c[i].back());
    a_c[i].pop_back();
    b_c[i].pop_back();
  }
  parts.a = a_c;
  parts.b = b_c;
  return parts;
}

}  // namespace

Rows IndexFunction::invert(std::vector<int> active_counters, std::vector<int> active_parameters) {
  AffineParts parts = split(this, active_counters, active_parameters);
  // PolyLib scales the inverse of a non-unimodular matrix by a common
  // denominator: such an answer is no inverse.
  Rows d = PolylibWrapper::inv(parts.a);
  if (parts.a * d != identity_matrix(static_cast<int>(parts.a.size())))
    stop(std::cerr, "IndexFunction::invert: no integer inverse");
  Rows result = d;
  if (!active_parameters.empty()) result = concat(result, (-1) * (d * parts.b));
  return concat(result, (-1) * (d * parts.c));
}

Rows IndexFunction::left_invert(std::vector<int> active_counters, std::vector<int> active_parameters,
                                Polyhedron* input_domain) {
  AffineParts parts = split(this, active_counters, active_parameters);
  int n = size();
  int a = static_cast<int>(active_counters.size());
  int q = static_cast<int>(active_parameters.size());
  // T = [[A, B, c], [0, I, 0]]: (x, p) -> (f(x, p), p).
  Rows t = null_matrix(n + q, a + q + 1);
  if (a > 0) fill(t, parts.a, 0, 0);
  if (q > 0) fill(t, parts.b, 0, a);
  fill(t, parts.c, 0, a + q);
  fill(t, identity_matrix(q), n, a);
  Polyhedron* equalities = input_domain->filter_equalities();
  Rows context;
  for (std::vector<int> row : equalities->to_matrix(active_counters, active_parameters)) {
    row.erase(row.begin());
    context.push_back(row);
  }
  delete equalities;
  Rows l = left_inverse(t, context);
  return Rows(l.begin(), l.begin() + a);
}

// ---------------------------------------------------------------------------
// Self-test

std::set<void*> IndexFunction::check() {
  std::set<void*> nodes;
  try {
    for (Expression* e : index_mapping) nodes = union_and_check(nodes, e->check());
  } catch (const char*) {
    throw "IndexFunction::check: interference found";
  }
  return nodes;
}
