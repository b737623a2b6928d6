// Tree construction over a region R of integer parameter points, starting
// from the context:
//  - no formula's domain meets R: Nil;
//  - the first formula F whose domain D meets R covers R: a leaf of F;
//  - otherwise the first basic set of D meeting R has a constraint c whose
//    negation meets R; the node tests c >= 0, with R and c >= 0 on the then
//    side (it keeps that basic set, hence a leaf of F) and R and c <= -1 on
//    the else side.
// Each side of every test holds an integer point of R, and a path uses each
// (basic set, constraint) pair at most once, so the recursion ends.
#include "tree_builder.h"

#include "fail.h"
#include "newparms.h"
#include "records.h"

namespace {

// A basic set of a formula's domain and its constraints as forms c >= 0;
// an equality e = 0 gives e >= 0 then -e >= 0.
struct BasicPart {
  Isl<isl_set> set;
  std::vector<Isl<isl_aff>> tests;
};

struct FormulaParts {
  const PipFormula *formula;
  std::vector<BasicPart> parts;
};

struct Tests {
  isl_ctx *ctx;
  std::vector<Isl<isl_aff>> affs;
};

isl_stat collect_constraint(isl_constraint *c, void *user) {
  Tests *t = static_cast<Tests *>(user);
  Isl<isl_constraint> constraint(c);
  Isl<isl_aff> aff(t->ctx, isl_constraint_get_aff(c));
  bool equality = isl_checked(t->ctx, isl_constraint_is_equality(c));
  if (equality) t->affs.emplace_back(t->ctx, isl_aff_neg(aff.copy()));
  t->affs.insert(t->affs.end() - (equality ? 1 : 0), std::move(aff));
  return isl_stat_ok;
}

isl_stat collect_part(isl_basic_set *bset, void *user) {
  std::vector<Isl<isl_basic_set>> *out = static_cast<std::vector<Isl<isl_basic_set>> *>(user);
  out->emplace_back(bset);
  return isl_stat_ok;
}

FormulaParts split(isl_ctx *ctx, const PipFormula &f) {
  std::vector<Isl<isl_basic_set>> bsets;
  if (isl_set_foreach_basic_set(f.domain.get(), collect_part, &bsets) < 0)
    pip_fail_isl(ctx);
  FormulaParts out{&f, {}};
  for (Isl<isl_basic_set> &b : bsets) {
    Tests tests{ctx, {}};
    if (isl_basic_set_foreach_constraint(b.get(), collect_constraint, &tests) < 0)
      pip_fail_isl(ctx);
    out.parts.push_back({Isl<isl_set>(ctx, isl_set_from_basic_set(b.take())),
                         std::move(tests.affs)});
  }
  return out;
}

class TreeBuilder {
 public:
  TreeBuilder(isl_ctx *ctx, const PipTreeShape &shape,
              const std::vector<PipFormula> &formulas)
      : ctx_(ctx), shape_(shape) {
    for (const PipFormula &f : formulas) formulas_.push_back(split(ctx, f));
  }

  // candidates: the formulas (indices, in isl's order) whose domains meet
  // the parent's region; no other formula can meet region.
  PipQuast *build(const Isl<isl_set> &region, NewparmScope scope, PipQuast *father,
                  const std::vector<int> &candidates);

 private:
  bool meets(const Isl<isl_set> &a, isl_set *b) const;
  Isl<isl_set> with(const Isl<isl_set> &region, isl_aff *nonneg) const;
  void make_leaf(PipQuast *node, const PipFormula &f, NewparmScope &scope) const;
  void make_test(PipQuast *node, const Isl<isl_set> &region, const FormulaParts &f,
                 NewparmScope &scope, const std::vector<int> &live);

  isl_ctx *ctx_;
  PipTreeShape shape_;
  std::vector<FormulaParts> formulas_;
};

bool TreeBuilder::meets(const Isl<isl_set> &a, isl_set *b) const {
  Isl<isl_set> both(ctx_, isl_set_intersect(a.copy(), isl_set_copy(b)));
  return !isl_checked(ctx_, isl_set_is_empty(both.get()));
}

// region and nonneg >= 0, built from the form with its divisions so that
// isl knows how every new parameter is defined.
Isl<isl_set> TreeBuilder::with(const Isl<isl_set> &region, isl_aff *nonneg) const {
  Isl<isl_set> half(ctx_, isl_pw_aff_nonneg_set(isl_pw_aff_from_aff(nonneg)));
  return Isl<isl_set>(ctx_, isl_set_intersect(region.copy(), half.take()));
}

// Only the formulas that meet region are handed down: with many formulas,
// testing every one at every node dominated the run time.
PipQuast *TreeBuilder::build(const Isl<isl_set> &region, NewparmScope scope,
                             PipQuast *father, const std::vector<int> &candidates) {
  PipQuast *node = pip_quast_new(father);
  std::vector<int> live;
  for (int f : candidates)
    if (meets(region, formulas_[f].formula->domain.get())) live.push_back(f);
  if (live.empty()) return node;
  const FormulaParts &first = formulas_[live[0]];
  if (isl_checked(ctx_, isl_set_is_subset(region.get(), first.formula->domain.get())))
    make_leaf(node, *first.formula, scope);
  else
    make_test(node, region, first, scope, live);
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

void TreeBuilder::make_test(PipQuast *node, const Isl<isl_set> &region,
                            const FormulaParts &f, NewparmScope &scope,
                            const std::vector<int> &live) {
  for (const BasicPart &part : f.parts) {
    if (!meets(region, part.set.get())) continue;
    for (const Isl<isl_aff> &test : part.tests) {
      Isl<isl_aff> negation(
          ctx_, isl_aff_add_constant_si(isl_aff_neg(test.copy()), -1));
      Isl<isl_set> else_region = with(region, negation.take());
      if (isl_checked(ctx_, isl_set_is_empty(else_region.get()))) continue;
      Isl<isl_set> then_region = with(region, test.copy());
      PipRow row = shape_.integer ? scope.integer_row(ctx_, test.get(), &node->newparm)
                                  : scope.rational_row(ctx_, test.get());
      node->condition = scope.vector(row);
      node->next_then = build(then_region, scope, node, live);
      node->next_else = build(else_region, scope, node, live);
      return;
    }
    break;
  }
  pip_fail("internal error: no test separates a formula's domain");
}

}  // namespace

PipQuast *pip_build_tree(isl_ctx *ctx, const PipTreeShape &shape,
                         const std::vector<PipFormula> &formulas, isl_set *region) {
  TreeBuilder builder(ctx, shape, formulas);
  std::vector<int> all(formulas.size());
  for (size_t f = 0; f < formulas.size(); ++f) all[f] = static_cast<int>(f);
  return builder.build(Isl<isl_set>(ctx, isl_set_copy(region)), NewparmScope(shape.np),
                       nullptr, all);
}
