#include "RectangularTile.h"

#include "Expression.h"
#include "Inequation.h"
#include "Polyhedron.h"
#include "Rank.h"

Polyhedron* rectangular_tile(const std::vector<int>& inner, const std::vector<int>& ratios) {
  Polyhedron* tile = new Polyhedron();
  Expression zero(0), block_size("block_size");
  for (size_t j = 0; j < inner.size(); j++) {
    Expression point(get_counter_string(inner[j])), ratio(ratios[j]);
    Expression side(TIMES, &ratio, &block_size);
    Inequation lower(GREATER_EQ, &point, &zero);
    Inequation upper(LESS, &point, &side);
    tile->add_constraint(&lower);
    tile->add_constraint(&upper);
  }
  return tile;
}
