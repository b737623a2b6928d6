#include "StatementTile.h"

#include "Expression.h"
#include "Inequation.h"
#include "Polyhedron.h"
#include "Rank.h"

StatementTile rectangular_tile(const std::vector<int>& inner, const std::vector<int>& ratios) {
  StatementTile tile{new Polyhedron(), {}};
  Expression zero(0), block_size("block_size");
  for (size_t j = 0; j < inner.size(); j++) {
    Expression point(get_counter_string(inner[j])), ratio(ratios[j]);
    Expression side(TIMES, &ratio, &block_size);
    Inequation lower(GREATER_EQ, &point, &zero);
    Inequation upper(LESS, &point, &side);
    tile.shape->add_constraint(&lower);
    tile.shape->add_constraint(&upper);
    tile.points.insert(inner[j]);
  }
  return tile;
}

StatementTile general_tile(Polyhedron* shape, const std::map<int, int>& inner_of) {
  Polyhedron* moved = shape->counters_to_counters(inner_of);
  return {moved, moved->get_counters()};
}

StatementTile constant_tile(Polyhedron* tile, const std::set<int>& tile_counters) {
  StatementTile result{tile->clone(), {}};
  for (int c : tile->get_counters())
    if (!tile_counters.count(c)) result.points.insert(c);
  return result;
}
