#include "FullTiles.h"

#include <cstdlib>

#include <isl/ctx.h>
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

// The full-tile instances of `domain` under `tile` (both taken).
isl_set* full_part(isl_set* domain, isl_set* tile, const std::set<std::string>& points) {
  isl_set* tiles = whole_tiles(isl_set_copy(domain), points);
  isl_set* missing = isl_set_subtract(isl_set_intersect(isl_set_copy(tiles), isl_set_copy(tile)), domain);
  isl_set* full = isl_set_subtract(tiles, whole_tiles(missing, points));
  return isl_set_coalesce(isl_set_intersect(full, tile));
}

}  // namespace

std::string full_tile_instances(const std::string& domain, const std::string& tile,
                                const std::set<std::string>& points) {
  // A text isl refuses means no full tile, not a failure: the tiles are
  // then run as they are.
  isl_ctx* ctx = isl_ctx_alloc();
  isl_options_set_on_error(ctx, ISL_ON_ERROR_CONTINUE);
  isl_set* full = full_part(isl_set_read_from_str(ctx, domain.c_str()),
                            isl_set_read_from_str(ctx, tile.c_str()), points);
  std::string text;
  if (isl_set_is_empty(full) == isl_bool_false) {
    char* printed = isl_set_to_str(full);
    if (printed) text = printed;
    std::free(printed);
  }
  isl_set_free(full);
  isl_ctx_free(ctx);
  return text;
}
