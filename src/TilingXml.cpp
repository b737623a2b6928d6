// XML form of a tiling: the eight fields the full and partial tile
// operations read back, with the two fields derived from them.

#include <iostream>

#include "Expression.h"
#include "IndexFunction.h"
#include "Polyhedron.h"
#include "Tiling.h"
#include "Xml.h"
#include "XmlChecks.h"

namespace {

const char* const tiling_class = "Tiling";

template <class T>
void check_one_per_statement(const std::vector<T>& v, size_t statements, const std::string& tag) {
  if (v.size() != statements) xml_refuse(tiling_class, tag + " must hold one entry per is_tiled entry");
}

template <class T>
void check_none_or_one_per_statement(const std::vector<T>& v, size_t statements, const std::string& tag) {
  if (!v.empty() && v.size() != statements)
    xml_refuse(tiling_class, tag + " must hold no entry or one per is_tiled entry");
}

}  // namespace

void Tiling::print_xml(std::ostream& os, std::string tag) {
  open_tag(os, tag);
  ::print_xml(os, "is_tiled", is_tiled);
  ::print_xml(os, "tile_size", tile_size);
  ::print_xml(os, "tile_hyperplans", tile_hyperplans);
  ::print_xml(os, "schedule", schedule);
  ::print_xml(os, "tile_dimensions", tile_dimensions);
  ::print_xml(os, "tile_counter", tile_counter);
  ::print_xml(os, "tile", tile);
  ::print_xml(os, "tile_vertices", tile_vertices);
  close_tag(os, tag);
}

Tiling::Tiling(const Xml& node) {
  from_xml(is_tiled, node["is_tiled"]);
  from_xml(tile_size, node["tile_size"]);
  from_xml(tile_hyperplans, node["tile_hyperplans"]);
  from_xml(schedule, node["schedule"]);
  from_xml(tile_dimensions, node["tile_dimensions"]);
  from_xml(tile_counter, node["tile_counter"]);
  from_xml(tile, node["tile"]);
  from_xml(tile_vertices, node["tile_vertices"]);
  nb_statements = static_cast<int>(is_tiled.size());
  size_t n = is_tiled.size();
  check_one_per_statement(tile_size, n, "tile_size");
  check_one_per_statement(tile_hyperplans, n, "tile_hyperplans");
  check_one_per_statement(schedule, n, "schedule");
  check_one_per_statement(tile_dimensions, n, "tile_dimensions");
  check_none_or_one_per_statement(tile, n, "tile");
  check_none_or_one_per_statement(tile_vertices, n, "tile_vertices");
  for (IndexFunction* f : tile_hyperplans) check_not_null(tiling_class, f, "tile_hyperplans");
  for (IndexFunction* f : schedule) check_not_null(tiling_class, f, "schedule");
  for (const auto& counter : tile_counter) {
    check_counter_rank(tiling_class, counter.first);
    check_not_null(tiling_class, counter.second, "tile_counter");
    tile_counter_set.insert(counter.first);
  }
  for (const auto& vertices : tile_vertices)
    for (const auto& vertex : vertices)
      for (const auto& entry : vertex) {
        check_counter_rank(tiling_class, entry.first);
        check_not_null(tiling_class, entry.second, "tile_vertices");
      }
}
