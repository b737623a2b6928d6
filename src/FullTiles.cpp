#include "FullTiles.h"

#include <cstdlib>
#include <map>

#include <isl/ctx.h>
#include <isl/mat.h>
#include <isl/options.h>
#include <isl/set.h>
#include <isl/space.h>

namespace {

// `set` (taken) with no constraint left on its point counters: every tile
// that holds a point of `set`, with all its points.
isl_set* whole_tiles(isl_set* set, const std::set<std::string>& points) {
  isl_size n = isl_set_dim(set, isl_dim_set);
  for (isl_size k = 0; k < n; k++) {
    const char* name = isl_set_get_dim_name(set, isl_dim_set, k);
    if (name && points.count(name)) set = isl_set_eliminate(set, isl_dim_set, k, 1);
  }
  return set;
}

// The tiles (point counters free) that hold a point of `part` and whose
// points under `tile` all lie in `part` (taken; `tile` kept).
isl_set* tiles_inside(isl_set* part, isl_set* tile, const std::set<std::string>& points) {
  isl_set* tiles = whole_tiles(isl_set_copy(part), points);
  isl_set* missing = isl_set_subtract(isl_set_intersect(isl_set_copy(tiles), isl_set_copy(tile)), part);
  return isl_set_subtract(tiles, whole_tiles(missing, points));
}

// The sets of one statement, read before the budget is set: isl leaks
// the token it was reading when it runs out of operations in a reading.
struct ReadDomain {
  isl_set* tile;
  std::vector<isl_set*> factors;
};

ReadDomain read_domain(isl_ctx* ctx, const TiledDomain& s) {
  ReadDomain read{isl_set_read_from_str(ctx, s.tile.c_str()), {}};
  std::vector<std::string> factors = s.factors;
  if (factors.empty()) factors.push_back(s.domain);
  for (const std::string& factor : factors) read.factors.push_back(isl_set_read_from_str(ctx, factor.c_str()));
  return read;
}

// The full-tile instances of a statement (its sets taken) whose point
// counters are `points`. A tile lies in the domain exactly when it lies in
// each of its factors: the tiles inside each factor, far smaller than the
// domain, are intersected (a tile with a point lies in every factor's
// tiles).
isl_set* full_part(ReadDomain read, const std::set<std::string>& points) {
  isl_set* full = nullptr;
  for (isl_set* factor : read.factors) {
    isl_set* inside = tiles_inside(factor, read.tile, points);
    full = full ? isl_set_coalesce(isl_set_intersect(full, inside)) : inside;
  }
  return isl_set_coalesce(isl_set_intersect(full, read.tile));
}

// The dimension of the affine hull of `piece` (kept), its local variables
// projected out; -1 when isl fails.
int dimension(isl_basic_set* piece) {
  isl_basic_set* hull = isl_basic_set_affine_hull(isl_basic_set_remove_divs(isl_basic_set_copy(piece)));
  isl_size all = isl_basic_set_dim(hull, isl_dim_all);
  isl_mat* equalities =
      isl_basic_set_equalities_matrix(hull, isl_dim_cst, isl_dim_param, isl_dim_set, isl_dim_div);
  isl_size rank = isl_mat_rank(equalities);
  isl_mat_free(equalities);
  isl_basic_set_free(hull);
  return all < 0 || rank < 0 ? -1 : all - rank;
}

// The pieces of `set` (taken) of the greatest dimension.
isl_set* widest_part(isl_set* set) {
  isl_set* coalesced = isl_set_coalesce(set);
  isl_basic_set_list* pieces = isl_set_get_basic_set_list(coalesced);
  isl_size n = isl_basic_set_list_n_basic_set(pieces);
  std::vector<int> dims;
  int widest = -1;
  for (isl_size k = 0; k < n; k++) {
    isl_basic_set* piece = isl_basic_set_list_get_basic_set(pieces, k);
    dims.push_back(dimension(piece));
    isl_basic_set_free(piece);
    if (dims.back() > widest) widest = dims.back();
  }
  isl_set* result = isl_set_empty(isl_set_get_space(coalesced));
  for (isl_size k = 0; k < n; k++)
    if (dims[k] == widest) result = isl_set_union(result, isl_set_from_basic_set(isl_basic_set_list_get_basic_set(pieces, k)));
  isl_basic_set_list_free(pieces);
  isl_set_free(coalesced);
  return result;
}

// `set` (taken, may be null) in isl's syntax; "" when it is empty or null.
std::string text_of(isl_set* set) {
  std::string text;
  if (isl_set_is_empty(set) == isl_bool_false) {
    char* printed = isl_set_to_str(set);
    if (printed) text = printed;
    std::free(printed);
  }
  isl_set_free(set);
  return text;
}

// Whether the context of `probe` (taken, a small set read before the
// budget was set) used up its operations: its emptiness test then fails.
// (isl's last error does not tell: a reading that ran out of operations
// reports a syntax error.)
bool used_up(isl_set* probe) {
  bool failed = isl_set_is_empty(probe) == isl_bool_error;
  isl_set_free(probe);
  return failed;
}

}  // namespace

std::optional<std::vector<std::string>> full_tile_instances(const std::vector<TiledDomain>& statements,
                                                            unsigned long operations) {
  // A text isl refuses means no full tile, not a failure: the tiles are
  // then run as they are.
  isl_ctx* ctx = isl_ctx_alloc();
  isl_options_set_on_error(ctx, ISL_ON_ERROR_CONTINUE);
  isl_set* probe = isl_set_read_from_str(ctx, "{ [x, y] : x >= 5 and y >= 3 and x + y <= 100 }");
  std::vector<ReadDomain> read;
  for (const TiledDomain& s : statements) read.push_back(read_domain(ctx, s));
  isl_ctx_set_max_operations(ctx, operations);
  std::vector<isl_set*> full;
  // Per group of statements sharing their tile loops, the tiles full for
  // each of them, on an anonymous tuple.
  std::map<std::string, isl_set*> common;
  for (size_t i = 0; i < statements.size(); i++) {
    const TiledDomain& s = statements[i];
    full.push_back(full_part(read[i], s.points));
    isl_set* tiles = isl_set_reset_tuple_id(whole_tiles(isl_set_copy(full.back()), s.points));
    auto group = common.find(s.loops);
    if (group == common.end()) common[s.loops] = tiles;
    else group->second = isl_set_intersect(group->second, tiles);
  }
  for (auto& group : common) group.second = widest_part(group.second);
  std::vector<std::string> result;
  for (size_t i = 0; i < statements.size(); i++) {
    isl_set* tiles = isl_set_copy(common[statements[i].loops]);
    tiles = isl_set_set_tuple_id(tiles, isl_set_get_tuple_id(full[i]));
    result.push_back(text_of(isl_set_coalesce(isl_set_intersect(full[i], tiles))));
  }
  for (auto& group : common) isl_set_free(group.second);
  bool over_budget = used_up(probe);
  isl_ctx_free(ctx);
  if (over_budget) return std::nullopt;
  return result;
}
