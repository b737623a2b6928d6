// The shape S(b) tiles the space with the origins (b / m)·L·Z^n when no two of its
// points differ by a non-zero lattice vector (no iteration runs twice) and
// its translates S(b) + b·L·Z^n cover every integer point (none is lost).
// Both are questions about integer sets with existential variables, which
// isl answers exactly; the points of a tile are never enumerated, so large
// block sizes cost no more than small ones.

#include "TileCover.h"

#include <isl/ctx.h>
#include <isl/mat.h>
#include <isl/options.h>
#include <isl/set.h>
#include <isl/space.h>
#include <isl/val.h>

namespace {

typedef std::vector<std::vector<int>> Rows;
typedef std::vector<std::vector<long long>> WideRows;

// Rows over the columns of a set of `width` variables and a constant.
struct System {
  WideRows equalities;
  WideRows inequalities;
};

// The shape's row r at block size b over the n variables from `first`.
std::vector<long long> shape_row(const std::vector<int>& r, int b, size_t first, size_t width) {
  size_t n = r.size() - 3;
  std::vector<long long> row(width + 1, 0);
  for (size_t k = 0; k < n; k++) row[first + k] = r[k + 1];
  row[width] = static_cast<long long>(r[n + 1]) * b + r[n + 2];
  return row;
}

// x in S(b), x being the n variables from `first`.
void add_shape(System& s, const Rows& shape, int b, size_t first, size_t width) {
  for (const std::vector<int>& r : shape)
    (r[0] == 0 ? s.equalities : s.inequalities).push_back(shape_row(r, b, first, width));
}

// y = x + s·L·z over the variables [y | x | z], the first 3n of the set,
// s being the block size over the lattice's denominator.
void add_translation(System& s, const Rows& lattice, long long scale, size_t width) {
  size_t n = lattice.size();
  for (size_t i = 0; i < n; i++) {
    std::vector<long long> row(width + 1, 0);
    row[i] = 1;
    row[n + i] = -1;
    for (size_t c = 0; c < n; c++) row[2 * n + c] = -scale * lattice[i][c];
    s.equalities.push_back(row);
  }
}

isl_mat* matrix(isl_ctx* ctx, const WideRows& rows, size_t width) {
  isl_mat* mat = isl_mat_alloc(ctx, rows.size(), width + 1);
  for (size_t i = 0; i < rows.size(); i++)
    for (size_t j = 0; j <= width; j++) mat = isl_mat_set_element_val(mat, i, j, isl_val_int_from_si(ctx, rows[i][j]));
  return mat;
}

isl_set* to_set(isl_ctx* ctx, const System& s, size_t width) {
  isl_space* space = isl_space_set_alloc(ctx, 0, width);
  return isl_set_from_basic_set(isl_basic_set_from_constraint_matrices(
      space, matrix(ctx, s.equalities, width), matrix(ctx, s.inequalities, width), isl_dim_set, isl_dim_div,
      isl_dim_param, isl_dim_cst));
}

// Some x and y = x + s·L·z with z != 0 (z_c >= 1 or z_c <= -1 for some c)
// both lie in S(b).
bool overlaps(isl_ctx* ctx, const Rows& shape, const Rows& lattice, int b, long long scale) {
  size_t n = lattice.size(), width = 3 * n;
  System both;
  add_translation(both, lattice, scale, width);
  add_shape(both, shape, b, 0, width);
  add_shape(both, shape, b, n, width);
  for (size_t c = 0; c < n; c++)
    for (int sign : {1, -1}) {
      System s = both;
      std::vector<long long> away(width + 1, 0);
      away[2 * n + c] = sign;
      away[width] = -1;
      s.inequalities.push_back(away);
      isl_set* set = to_set(ctx, s, width);
      isl_bool empty = isl_set_is_empty(set);
      isl_set_free(set);
      if (empty != isl_bool_true) return true;
    }
  return false;
}

// Every y is x + s·L·z for some x in S(b) and some z.
bool covers(isl_ctx* ctx, const Rows& shape, const Rows& lattice, int b, long long scale) {
  size_t n = lattice.size(), width = 3 * n;
  System s;
  add_translation(s, lattice, scale, width);
  add_shape(s, shape, b, n, width);
  isl_set* translates = isl_set_project_out(to_set(ctx, s, width), isl_dim_set, n, 2 * n);
  isl_set* everything = isl_set_universe(isl_set_get_space(translates));
  isl_bool covered = isl_set_is_subset(everything, translates);
  isl_set_free(everything);
  isl_set_free(translates);
  return covered == isl_bool_true;
}

}  // namespace

bool shape_tiles_space(const Rows& shape, const Rows& lattice, int block_size, int denominator) {
  long long scale = block_size / denominator;
  isl_ctx* ctx = isl_ctx_alloc();
  isl_options_set_on_error(ctx, ISL_ON_ERROR_ABORT);
  bool tiles = !overlaps(ctx, shape, lattice, block_size, scale) && covers(ctx, shape, lattice, block_size, scale);
  isl_ctx_free(ctx);
  return tiles;
}
