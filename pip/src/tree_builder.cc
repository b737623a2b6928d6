// Tree construction over a region R of integer parameter points, starting
// from the context. The basic sets of the formulas' domains and of the
// points without solution split the context into parts, disjoint but for
// the basic sets without solution, which may overlap one another (a point
// in two of them leads to Nil either way), and every region holds at least
// one known point (a witness), whose part (the first holding it) is B:
//  - R lies in B: a leaf of B's formula, or Nil;
//  - otherwise some point q of R violates a constraint c of B, which the
//    witness satisfies: a known witness outside B, or else a point that
//    isl finds in R and c <= -1 for a constraint c of B not implied on R.
//    The node tests c >= 0, with R and c >= 0 on the then side and R and
//    c <= -1 on the else side.
// Each side of every test holds one of the two points. Along a path, a
// then side makes c implied and an else side leaves B behind for good, so
// each (basic set, constraint) pair is used at most once and the recursion
// ends. The constraints of B are tried first that cut the fewest other
// basic sets, so that tests follow the boundaries between parts. At the
// end, a test whose then side holds no leaf is turned around, and a test
// without leaf on either side becomes Nil.
//
// Formulas by rank (the optima of the values of the first unknown) have
// overlapping domains, a point taking the first that holds it, and no set
// of points without solution: a last part without constraints stands for
// them. A region is then known to hold no point of the ranks below a
// current rank; before B's constraints are tried, a region whose first
// witness lies in a later rank is either split from a point of the current
// rank (on a constraint of that point's part the witness violates) or
// found to hold none, and the current rank moves up.
//
// Integer point searches in isl are the costly part: they are made only to
// show that a constraint is implied, or to find a point violating it. The
// witnesses go down to the side of each test they lie on, so a node that
// holds witnesses in two parts splits without any search; constraints found
// implied on a region stay known on its subregions, and a constraint that
// one of the region's own implies is recognised from the terms. R is kept
// as one basic set, so that each search is over one basic set (isl's
// operations on sets also test every pair of basic sets for emptiness).
// Once R is bounded and its relaxation small, its integer points are
// listed, and each search is a scan of the list, which goes down filtered
// to both sides of each test: on the small bounded regions deep in a tree,
// isl's searches through nested divisions cost milliseconds each.
#include "tree_builder.h"

#include <algorithm>
#include <utility>

#include "fail.h"
#include "integer_form.h"
#include "listed_points.h"
#include "newparms.h"
#include "records.h"

namespace {

// A constraint c >= 0 as a test: the then side is c >= 0, the else side
// c <= -1, that is below = -c - 1 >= 0.
struct Test {
  Isl<isl_aff> aff;
  Isl<isl_aff> below_aff;
  PipIntegerForm form;
  PipIntegerForm below;
};

// A basic set of the domain of a formula (NULL: of the points without
// solution) and its constraints as tests; an equality e = 0 gives e >= 0
// then -e >= 0.
struct Part {
  const PipFormula *formula;
  std::vector<Test> tests;
};

// A point found by isl, with its coordinates when they fit 64 bits, and the
// part holding it.
struct Found {
  Isl<isl_point> point;
  PipPoint coordinates;
  bool exact;
  int part;
};

// A test holding on the current region: its form on a then side, its
// below form on an else side.
struct Step {
  const Test *test;
  bool then;
};

// The integer points of a region, when it is bounded and small enough to
// list (listed); searches in it are then scans of the list.
struct Listing {
  bool listed = false;
  std::vector<PipPoint> points;
};

Test test_of(isl_ctx *ctx, Isl<isl_aff> aff) {
  Isl<isl_aff> below(ctx, isl_aff_add_constant_si(isl_aff_neg(aff.copy()), -1));
  PipIntegerForm form(ctx, aff.get()), below_form(ctx, below.get());
  return {std::move(aff), std::move(below), form, below_form};
}

struct Constraints {
  isl_ctx *ctx;
  std::vector<Test> tests;
};

isl_stat collect_constraint(isl_constraint *c, void *user) {
  Constraints *t = static_cast<Constraints *>(user);
  Isl<isl_constraint> constraint(c);
  Isl<isl_aff> aff(t->ctx, isl_constraint_get_aff(c));
  bool equality = isl_checked(t->ctx, isl_constraint_is_equality(c));
  Isl<isl_aff> opposite;
  if (equality) opposite = Isl<isl_aff>(t->ctx, isl_aff_neg(aff.copy()));
  t->tests.push_back(test_of(t->ctx, std::move(aff)));
  if (equality) t->tests.push_back(test_of(t->ctx, std::move(opposite)));
  return isl_stat_ok;
}

std::vector<Test> tests_of(isl_ctx *ctx, isl_basic_set *set) {
  Constraints tests{ctx, {}};
  if (isl_basic_set_foreach_constraint(set, collect_constraint, &tests) < 0) pip_fail_isl(ctx);
  return std::move(tests.tests);
}

isl_stat collect_basic_set(isl_basic_set *bset, void *user) {
  std::vector<Isl<isl_basic_set>> *out = static_cast<std::vector<Isl<isl_basic_set>> *>(user);
  out->emplace_back(bset);
  return isl_stat_ok;
}

std::vector<Isl<isl_basic_set>> basic_sets(isl_ctx *ctx, isl_set *set) {
  std::vector<Isl<isl_basic_set>> out;
  if (isl_set_foreach_basic_set(set, collect_basic_set, &out) < 0) pip_fail_isl(ctx);
  return out;
}

// The context (borrowed), a conjunction, as one basic set.
Isl<isl_basic_set> single_basic_set(isl_ctx *ctx, isl_set *context) {
  std::vector<Isl<isl_basic_set>> parts = basic_sets(ctx, context);
  if (parts.size() > 1) pip_fail("internal error: context of several basic sets");
  if (parts.empty())
    return Isl<isl_basic_set>(ctx, isl_basic_set_empty(isl_checked(ctx, isl_set_get_space(context))));
  return std::move(parts[0]);
}

class TreeBuilder {
 public:
  // formulas, no_solution and context are borrowed.
  TreeBuilder(isl_ctx *ctx, const PipTreeShape &shape, const std::vector<PipFormula> &formulas,
              isl_set *no_solution, isl_basic_set *context);

  // The tree over region, whose known points are witnesses (not empty),
  // and whose integer points are those of points when they are listed.
  PipQuast *build(const Isl<isl_basic_set> &region, Listing points, NewparmScope scope,
                  PipQuast *father, std::vector<int> witnesses);

  // A point of the context (borrowed) as a witness, or -1 when it is empty.
  int first_witness(isl_basic_set *context);

 private:
  void add_parts(const PipFormula *formula, isl_set *domain);
  bool nonneg_at(const Test &test, bool then, int point) const;
  bool in_part(int part, int point) const;
  bool excluded(int part) const;
  bool on_one_side(int part, const Test &test) const;
  std::vector<int> tests_by_cuts(int part) const;
  bool implied(int part, int test) const;
  int find(Isl<isl_basic_set> set);
  int find_in_part(const Isl<isl_basic_set> &region, const Listing &points, int part);
  int rank_of(int part) const;
  int point_of_rank(const Isl<isl_basic_set> &region, const Listing &points, int rank);
  bool split_off_rank(PipQuast *node, const Isl<isl_basic_set> &region, const Listing &points,
                      NewparmScope &scope, std::vector<int> &witnesses);
  int add_point(Isl<isl_point> point);
  Listing list_points(const Isl<isl_basic_set> &region) const;
  int find_listed(const Isl<isl_basic_set> &region, const Listing &points,
                  const PipIntegerForm &form);
  Listing side(const Listing &points, const PipIntegerForm &form) const;
  Isl<isl_basic_set> with(const Isl<isl_basic_set> &region, isl_aff *nonneg) const;
  void make_leaf(PipQuast *node, const PipFormula &f, NewparmScope &scope) const;
  void make_test(PipQuast *node, const Isl<isl_basic_set> &region, const Listing &points,
                 NewparmScope &scope, std::vector<int> witnesses, int part, int test);

  isl_ctx *ctx_;
  PipTreeShape shape_;
  // Parts may overlap, a point belonging to the first that holds it; the
  // last part, without constraints, stands for the points without solution.
  // The current region then holds no point of a part of a rank below
  // rank_.
  bool by_priority_;
  int rank_ = 0;
  int nil_rank_ = 0;  // the rank of the points without solution
  std::vector<Part> parts_;
  std::vector<Test> context_tests_;
  std::vector<Found> points_;  // every point found, referred to by index
  std::vector<Step> path_;     // the tests holding on the current region
  std::vector<std::pair<int, int>> implied_;  // (part, test) implied on it
};

TreeBuilder::TreeBuilder(isl_ctx *ctx, const PipTreeShape &shape,
                         const std::vector<PipFormula> &formulas, isl_set *no_solution,
                         isl_basic_set *context)
    : ctx_(ctx), shape_(shape), by_priority_(!no_solution) {
  for (const PipFormula &f : formulas) add_parts(&f, f.domain.get());
  if (by_priority_) {
    parts_.push_back({nullptr, {}});
    if (!formulas.empty()) nil_rank_ = formulas.back().rank + 1;
  } else {
    add_parts(nullptr, no_solution);
  }
  context_tests_ = tests_of(ctx, context);
  for (const Test &t : context_tests_) path_.push_back({&t, true});
}

void TreeBuilder::add_parts(const PipFormula *formula, isl_set *domain) {
  for (Isl<isl_basic_set> &b : basic_sets(ctx_, domain))
    parts_.push_back({formula, tests_of(ctx_, b.get())});
}

// Whether the test's side (then: c >= 0, else: c <= -1) holds at point.
bool TreeBuilder::nonneg_at(const Test &test, bool then, int point) const {
  const Found &p = points_[point];
  int sign;
  if (p.exact && (then ? test.form : test.below).sign_at(p.coordinates, &sign)) return sign >= 0;
  isl_aff *form = then ? test.aff.get() : test.below_aff.get();
  Isl<isl_val> v(ctx_, isl_aff_eval(isl_aff_copy(form), p.point.copy()));
  return !isl_checked(ctx_, isl_val_is_neg(v.get()));
}

// Whether a test of the region excludes the part, read from the terms.
bool TreeBuilder::excluded(int part) const {
  for (const Step &s : path_) {
    const PipIntegerForm &holds = s.then ? s.test->form : s.test->below;
    for (const Test &t : parts_[part].tests)
      if (holds.excludes(t.form)) return true;
  }
  return false;
}

// Whether the part lies on one side of test, read from the terms.
bool TreeBuilder::on_one_side(int part, const Test &test) const {
  for (const Test &g : parts_[part].tests)
    if (g.form.implies(test.form) || g.form.excludes(test.form)) return true;
  return false;
}

bool TreeBuilder::in_part(int part, int point) const {
  for (const Test &test : parts_[part].tests)
    if (!nonneg_at(test, true, point)) return false;
  return true;
}

// Whether test `test` of part `part` holds on the whole current region, as
// found earlier on the path or read from one of the region's own tests.
bool TreeBuilder::implied(int part, int test) const {
  for (const std::pair<int, int> &known : implied_)
    if (known == std::make_pair(part, test)) return true;
  const PipIntegerForm &form = parts_[part].tests[test].form;
  for (const Step &s : path_)
    if ((s.then ? s.test->form : s.test->below).implies(form)) return true;
  return false;
}

// A point of set (taken, in the context) as a new entry of points_, or -1
// when set is empty.
int TreeBuilder::find(Isl<isl_basic_set> set) {
  Isl<isl_point> point(ctx_, isl_basic_set_sample_point(set.take()));
  if (isl_checked(ctx_, isl_point_is_void(point.get()))) return -1;
  return add_point(std::move(point));
}

// point (a point of the context) as a new entry of points_.
int TreeBuilder::add_point(Isl<isl_point> point) {
  Found found{std::move(point), {}, false, -1};
  found.exact = pip_point_of(ctx_, found.point.get(), shape_.np, &found.coordinates);
  points_.push_back(std::move(found));
  int index = static_cast<int>(points_.size()) - 1;
  for (size_t k = 0; k < parts_.size() && points_[index].part < 0; ++k)
    if (in_part(static_cast<int>(k), index)) points_[index].part = static_cast<int>(k);
  if (points_[index].part < 0) pip_fail("internal error: a point of the context in no part");
  return index;
}

// The integer points of region, the points of its relaxation where every
// test of the path holds, when they can be listed.
Listing TreeBuilder::list_points(const Isl<isl_basic_set> &region) const {
  auto in_region = [this](const PipPoint &point) {
    for (const Step &s : path_) {
      int sign;
      if (!(s.then ? s.test->form : s.test->below).sign_at(point, &sign))
        return PipKeep::kUndecided;
      if (sign < 0) return PipKeep::kDrop;
    }
    return PipKeep::kKeep;
  };
  Listing out;
  std::vector<int> directions(shape_.np, 0);
  for (const Step &s : path_) (s.then ? s.test->form : s.test->below).mark_directions(&directions);
  if (!pip_may_be_bounded(directions)) return out;
  out.listed = pip_scan_points(ctx_, region.get(), shape_.np, kPipMaxScanned, in_region, &out.points);
  return out;
}

// The points of the list where form >= 0; not listed when a sign is beyond
// PipIntegerForm.
Listing TreeBuilder::side(const Listing &points, const PipIntegerForm &form) const {
  Listing out;
  if (!points.listed) return out;
  for (const PipPoint &point : points.points) {
    int sign;
    if (!form.sign_at(point, &sign)) return Listing();
    if (sign >= 0) out.points.push_back(point);
  }
  out.listed = true;
  return out;
}

// A listed point of region where form >= 0, as a new entry of points_, or
// -1 when there is none. A sign beyond PipIntegerForm leaves the search to
// isl.
int TreeBuilder::find_listed(const Isl<isl_basic_set> &region, const Listing &points,
                             const PipIntegerForm &form) {
  for (const PipPoint &point : points.points) {
    int sign;
    if (!form.sign_at(point, &sign)) return -2;
    if (sign >= 0)
      return add_point(
          pip_point_at(ctx_, isl_checked(ctx_, isl_basic_set_get_space(region.get())), point));
  }
  return -1;
}

// A point of region in part `part`, as a new entry of points_, or -1 when
// there is none.
int TreeBuilder::find_in_part(const Isl<isl_basic_set> &region, const Listing &points,
                              int part) {
  const std::vector<Test> &tests = parts_[part].tests;
  if (points.listed) {
    for (const PipPoint &point : points.points) {
      bool in = true;
      for (size_t t = 0; t < tests.size() && in; ++t) {
        int sign;
        if (!tests[t].form.sign_at(point, &sign)) return find_in_part(region, Listing(), part);
        in = sign >= 0;
      }
      if (in)
        return add_point(
            pip_point_at(ctx_, isl_checked(ctx_, isl_basic_set_get_space(region.get())), point));
    }
    return -1;
  }
  Isl<isl_basic_set> within(region.copy());
  for (const Test &t : tests) within = with(within, t.aff.get());
  return find(std::move(within));
}

// The rank of a part's formula; the part of the points without solution
// comes after every rank.
int TreeBuilder::rank_of(int part) const {
  const PipFormula *f = parts_[part].formula;
  return f ? f->rank : nil_rank_;
}

// A point of region in a part of the given rank (not excluded by the
// region's tests), as an index of points_, or -1 when there is none.
int TreeBuilder::point_of_rank(const Isl<isl_basic_set> &region, const Listing &points,
                               int rank) {
  for (size_t a = 0; a < parts_.size(); ++a) {
    if (!parts_[a].formula || parts_[a].formula->rank != rank) continue;
    if (excluded(static_cast<int>(a))) continue;
    int found = find_in_part(region, points, static_cast<int>(a));
    if (found >= 0) return found;
  }
  return -1;
}

// With parts by priority, while the first witness lies in no part of rank
// rank_, either the region holds a point of such a part, and a test of
// that part that the first witness violates splits the two (true), or
// rank_ goes up. The witness of the lowest part leads, so that a region
// holding points of two ranks is first cut along the lower one.
bool TreeBuilder::split_off_rank(PipQuast *node, const Isl<isl_basic_set> &region,
                                 const Listing &points, NewparmScope &scope,
                                 std::vector<int> &witnesses) {
  auto lowest = std::min_element(witnesses.begin(), witnesses.end(), [this](int a, int b) {
    return points_[a].part < points_[b].part;
  });
  std::iter_swap(witnesses.begin(), lowest);
  while (rank_of(points_[witnesses[0]].part) > rank_) {
    int found = point_of_rank(region, points, rank_);
    if (found < 0) {
      ++rank_;
      continue;
    }
    int a = points_[found].part;
    const std::vector<Test> &tests = parts_[a].tests;
    size_t t = 0;
    while (t < tests.size() && nonneg_at(tests[t], true, witnesses[0])) ++t;
    if (t == tests.size()) pip_fail("internal error: a witness in an earlier part");
    witnesses.push_back(found);
    make_test(node, region, points, scope, std::move(witnesses), a, static_cast<int>(t));
    return true;
  }
  return false;
}

int TreeBuilder::first_witness(isl_basic_set *context) {
  return find(Isl<isl_basic_set>(ctx_, isl_basic_set_copy(context)));
}

// region and nonneg >= 0, built from the form with its divisions so that
// isl knows how every new parameter is defined.
Isl<isl_basic_set> TreeBuilder::with(const Isl<isl_basic_set> &region, isl_aff *nonneg) const {
  // Integral forms: nonneg >= 0 exactly where -nonneg - 1 < 0.
  isl_aff *below = isl_aff_add_constant_si(isl_aff_neg(isl_aff_copy(nonneg)), -1);
  Isl<isl_basic_set> half(ctx_, isl_aff_neg_basic_set(below));
  return Isl<isl_basic_set>(ctx_, isl_basic_set_intersect(region.copy(), half.take()));
}

// Tests are taken in the order of how few basic sets they may cut: a test
// that leaves every other basic set on one side (as the facets shared by
// neighbouring sets do) adds no piece to the tree.
std::vector<int> TreeBuilder::tests_by_cuts(int part) const {
  std::vector<int> alive;
  for (size_t q = 0; q < parts_.size(); ++q)
    if (static_cast<int>(q) != part && !excluded(static_cast<int>(q))) alive.push_back(static_cast<int>(q));
  const std::vector<Test> &tests = parts_[part].tests;
  std::vector<std::pair<int, int>> scored;
  for (size_t t = 0; t < tests.size(); ++t) {
    int cuts = 0;
    for (int q : alive) cuts += on_one_side(q, tests[t]) ? 0 : 1;
    scored.push_back({cuts, static_cast<int>(t)});
  }
  std::stable_sort(scored.begin(), scored.end());
  std::vector<int> order;
  for (const auto &s : scored) order.push_back(s.second);
  return order;
}

PipQuast *TreeBuilder::build(const Isl<isl_basic_set> &region, Listing points,
                             NewparmScope scope, PipQuast *father, std::vector<int> witnesses) {
  PipQuast *node = pip_quast_new(father);
  struct Restore {
    int &rank, saved;
    ~Restore() { rank = saved; }
  } restore{rank_, rank_};
  if (by_priority_ && split_off_rank(node, region, points, scope, witnesses)) return node;
  int part = points_[witnesses[0]].part;
  const std::vector<Test> &tests = parts_[part].tests;
  std::vector<int> order = tests_by_cuts(part);
  for (int t : order)
    for (size_t w = 1; w < witnesses.size(); ++w)
      if (!nonneg_at(tests[t], true, witnesses[w])) {
        make_test(node, region, points, scope, std::move(witnesses), part, t);
        return node;
      }
  if (!points.listed) points = list_points(region);
  size_t mark = implied_.size();
  for (int t : order) {
    if (implied(part, t)) continue;
    int beyond = points.listed ? find_listed(region, points, tests[t].below) : -2;
    if (beyond == -2) beyond = find(with(region, tests[t].below_aff.get()));
    if (beyond < 0) {
      implied_.push_back({part, t});
      continue;
    }
    witnesses.push_back(beyond);
    make_test(node, region, points, scope, std::move(witnesses), part, t);
    implied_.resize(mark);
    return node;
  }
  implied_.resize(mark);
  if (parts_[part].formula) make_leaf(node, *parts_[part].formula, scope);
  return node;
}

void TreeBuilder::make_leaf(PipQuast *node, const PipFormula &f,
                            NewparmScope &scope) const {
  std::vector<PipRow> rows;
  for (int i = 0; i < shape_.solved; ++i) {
    Isl<isl_aff> value(ctx_, isl_multi_aff_get_at(f.value.get(), i));
    if (!shape_.integer) {
      rows.push_back(scope.rational_row(ctx_, value.get()));
      continue;
    }
    // An integer optimum with a denominator is integral on its domain: its
    // floor is the same value, written with a division.
    Isl<isl_val> den(ctx_, isl_aff_get_denominator_val(value.get()));
    if (!isl_checked(ctx_, isl_val_is_one(den.get())))
      value = Isl<isl_aff>(ctx_, isl_aff_floor(value.take()));
    rows.push_back(scope.integer_row(ctx_, value.get(), &node->newparm));
  }
  PipList **tail = &node->list;
  for (const PipRow &row : rows) {
    *tail = pip_list_cell_new(scope.vector(row));
    tail = &(*tail)->next;
  }
  // Unknowns from the first unbounded one on are marked with denominators
  // 0. Unlike a solver with a big parameter, no finite value is given for
  // the unknowns after it: no caller reads more than the mark.
  for (int i = shape_.solved; i < shape_.nn; ++i) {
    *tail = pip_list_cell_new(scope.unbounded_marker());
    tail = &(*tail)->next;
  }
  if (shape_.nn == 0) *tail = pip_list_cell_new(nullptr);
}

// Splits on test `test` of part `part`, which holds the first witness; each
// witness goes to the side it lies on, and both sides get one.
void TreeBuilder::make_test(PipQuast *node, const Isl<isl_basic_set> &region,
                            const Listing &points, NewparmScope &scope,
                            std::vector<int> witnesses, int part, int test) {
  const Test &split = parts_[part].tests[test];
  std::vector<int> then_side, else_side;
  for (int w : witnesses) (nonneg_at(split, true, w) ? then_side : else_side).push_back(w);
  Isl<isl_basic_set> then_region = with(region, split.aff.get());
  Isl<isl_basic_set> else_region = with(region, split.below_aff.get());
  PipRow row = shape_.integer ? scope.integer_row(ctx_, split.aff.get(), &node->newparm)
                              : scope.rational_row(ctx_, split.aff.get());
  node->condition = scope.vector(row);
  path_.push_back({&split, true});
  node->next_then =
      build(then_region, side(points, split.form), scope, node, std::move(then_side));
  path_.back().then = false;
  node->next_else =
      build(else_region, side(points, split.below), scope, node, std::move(else_side));
  path_.pop_back();
}

// Every test keeps a leaf on its then side, as callers expect: a test
// without leaf on its then side is turned around (c >= 0 becomes
// -c - 1 >= 0, the sides swapped), and a test without leaf on either side
// becomes Nil. Returns the node standing for q: q itself, or a new Nil
// node once q is freed.
PipQuast *settle(PipQuast *q) {
  if (!q->condition) return q;
  q->next_then = settle(q->next_then);
  q->next_else = settle(q->next_else);
  auto holds_leaf = [](const PipQuast *n) { return n->list || n->condition; };
  if (!holds_leaf(q->next_then) && !holds_leaf(q->next_else)) {
    PipQuast *nil = pip_quast_new(q->father);
    pip_quast_free(q);
    return nil;
  }
  if (!holds_leaf(q->next_then)) {
    PipVector *c = q->condition;
    long long *constant = &c->the_vector[c->nb_elements - 1];
    for (int k = 0; k < c->nb_elements; ++k)
      if (__builtin_sub_overflow(0LL, c->the_vector[k], &c->the_vector[k]))
        pip_fail("answer coefficient outside 64 bits");
    if (__builtin_sub_overflow(*constant, c->the_deno[c->nb_elements - 1], constant))
      pip_fail("answer coefficient outside 64 bits");
    std::swap(q->next_then, q->next_else);
  }
  return q;
}

}  // namespace

PipQuast *pip_build_tree(isl_ctx *ctx, const PipTreeShape &shape,
                         const std::vector<PipFormula> &formulas, isl_set *no_solution,
                         isl_set *region) {
  Isl<isl_basic_set> context = single_basic_set(ctx, region);
  TreeBuilder builder(ctx, shape, formulas, no_solution, context.get());
  int witness = builder.first_witness(context.get());
  if (witness < 0) return pip_quast_new(nullptr);
  return settle(builder.build(context, Listing(), NewparmScope(shape.np), nullptr, {witness}));
}
