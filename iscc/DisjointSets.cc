#include "DisjointSets.h"

namespace iscc {

isl_bool are_disjoint(isl_set* a, isl_set* b) {
  isl_basic_set* hull_a = isl_set_affine_hull(isl_set_copy(a));
  isl_basic_set* hull_b = isl_set_affine_hull(isl_set_copy(b));
  isl_bool apart = isl_basic_set_is_disjoint(hull_a, hull_b);
  isl_basic_set_free(hull_a);
  isl_basic_set_free(hull_b);
  return apart == isl_bool_false ? isl_set_is_disjoint(a, b) : apart;
}

}  // namespace iscc
