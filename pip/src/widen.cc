#include "widen.h"

#include <isl/space.h>

#include <vector>

namespace {

// Beyond this many basic sets nothing is tried: each constraint tried
// costs a difference with the whole set and an emptiness test, which on
// the seven basic sets of a typical tiling problem cost more than the
// tests saved in the tree.
constexpr size_t kMaxBasicSets = 4;

isl_stat collect_basic_set(isl_basic_set *bset, void *user) {
  static_cast<std::vector<Isl<isl_basic_set>> *>(user)->emplace_back(bset);
  return isl_stat_ok;
}

isl_stat collect_constraint(isl_constraint *c, void *user) {
  static_cast<std::vector<Isl<isl_constraint>> *>(user)->emplace_back(c);
  return isl_stat_ok;
}

// The basic set of the constraints but the one at index skip, over space
// (borrowed).
Isl<isl_basic_set> without(isl_ctx *ctx, isl_space *space,
                           const std::vector<Isl<isl_constraint>> &constraints, size_t skip) {
  Isl<isl_basic_set> out(ctx, isl_basic_set_universe(isl_space_copy(space)));
  for (size_t k = 0; k < constraints.size(); ++k)
    if (k != skip)
      out = Isl<isl_basic_set>(
          ctx, isl_basic_set_add_constraint(out.take(), isl_constraint_copy(constraints[k].get())));
  return out;
}

bool inside(isl_ctx *ctx, isl_basic_set *part, isl_set *set) {
  Isl<isl_set> p(ctx, isl_set_from_basic_set(isl_basic_set_copy(part)));
  return isl_checked(ctx, isl_set_is_subset(p.get(), set));
}

// part (taken, without divisions) with the inequalities dropped one by one
// as long as it stays inside set (borrowed).
Isl<isl_basic_set> widen(isl_ctx *ctx, Isl<isl_basic_set> part, isl_set *set) {
  std::vector<Isl<isl_constraint>> constraints;
  if (isl_basic_set_foreach_constraint(part.get(), collect_constraint, &constraints) < 0)
    pip_fail_isl(ctx);
  isl_space *space = isl_checked(ctx, isl_basic_set_get_space(part.get()));
  for (size_t k = 0; k < constraints.size();) {
    if (isl_checked(ctx, isl_constraint_is_equality(constraints[k].get()))) {
      ++k;
      continue;
    }
    Isl<isl_basic_set> wider = without(ctx, space, constraints, k);
    if (!inside(ctx, wider.get(), set)) {
      ++k;
      continue;
    }
    part = std::move(wider);
    constraints.erase(constraints.begin() + static_cast<long>(k));
  }
  isl_space_free(space);
  return part;
}

bool has_divisions(isl_ctx *ctx, isl_basic_set *bset) {
  isl_size divs = isl_basic_set_dim(bset, isl_dim_div);
  if (divs < 0) pip_fail_isl(ctx);
  return divs > 0;
}

}  // namespace

Isl<isl_set> pip_widen_within(isl_ctx *ctx, Isl<isl_set> set) {
  std::vector<Isl<isl_basic_set>> parts;
  if (isl_set_foreach_basic_set(set.get(), collect_basic_set, &parts) < 0) pip_fail_isl(ctx);
  if (parts.size() < 2 || parts.size() > kMaxBasicSets) return set;
  for (Isl<isl_basic_set> &p : parts)
    if (has_divisions(ctx, p.get())) return set;
  for (Isl<isl_basic_set> &p : parts) p = widen(ctx, std::move(p), set.get());
  Isl<isl_set> out(ctx, isl_set_empty(isl_checked(ctx, isl_set_get_space(set.get()))));
  for (size_t i = 0; i < parts.size(); ++i) {
    bool covered = false;
    for (size_t j = 0; j < parts.size() && !covered; ++j)
      if (j != i && parts[j].get()) {
        // Of two equal basic sets the later one is kept.
        covered = isl_checked(ctx, isl_basic_set_is_subset(parts[i].get(), parts[j].get()));
      }
    if (covered) {
      parts[i] = Isl<isl_basic_set>();
      continue;
    }
    out = Isl<isl_set>(ctx, isl_set_union(out.take(), isl_set_from_basic_set(parts[i].copy())));
  }
  return out;
}
