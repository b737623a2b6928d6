// Measuring a polyhedron: unboundedness, bounding boxes and their volume.

#include <iostream>

#include "Polyhedron.h"
#include "PolylibWrapper.h"
#include "Rank.h"
#include "Stop.h"

namespace {

typedef std::vector<std::vector<int>> Rows;

}  // namespace

// The cone of the rows' linear parts holds a non-zero integer point exactly
// when it holds one with some d_k >= 1 or d_k <= -1 (it is closed under
// positive scaling), which 2n emptiness tests decide.
int Polyhedron::is_unbounded(const std::vector<int>& counters) {
  Rows cone;
  std::vector<int> no_parameter;
  for (const std::vector<int>& row : expect_single(this, "is_unbounded")->to_matrix(counters, no_parameter)) {
    std::vector<int> linear(row.begin(), row.end() - 1);
    linear.push_back(0);
    cone.push_back(linear);
  }
  for (size_t k = 0; k < counters.size(); k++) {
    for (int sign : {1, -1}) {
      std::vector<int> away(counters.size() + 2, 0);
      away[0] = 1;
      away[k + 1] = sign;
      away.back() = -1;
      Rows rows = cone;
      rows.push_back(away);
      Polyhedron ray(rows, counters, no_parameter);
      if (!ray.is_empty()) return 1;
    }
  }
  return 0;
}

// ---------------------------------------------------------------------------
// Bounding boxes

int Polyhedron::bounding_box_volume(std::set<int> counters) {
  int c = get_nb_counters();
  for (const std::vector<int>& row : expect_single(this, "bounding_box_volume")->to_matrix())
    for (int q = 0; q < get_nb_parameters(); q++)
      if (row[c + 1 + q] != 0) stop(std::cout, "Polyhedron::bounding_box_volume(): parametrized polyhedron");
  if (is_empty()) return 0;
  // A counter of no constraint would read as a line of the box: only the
  // counters that occur are measured, and a point has volume 1.
  std::set<int> measured;
  for (int counter : get_counters())
    if (counters.count(counter)) measured.insert(counter);
  if (measured.empty()) return 1;
  Polyhedron* projection = project(measured);
  Rows rows = projection->to_matrix(measured, std::set<int>());
  delete projection;
  // "1 >= 0" keeps the width when the projection has no constraint left.
  std::vector<int> positivity(measured.size() + 2, 0);
  positivity[0] = positivity.back() = 1;
  rows.push_back(positivity);
  return PolylibWrapper::bounding_box_volume(rows);
}

int Polyhedron::bounding_box_volume() {
  std::set<int> every_counter;
  for (int c = 0; c < get_nb_counters(); c++) every_counter.insert(c);
  return bounding_box_volume(every_counter);
}

Polyhedron* Polyhedron::bounding_box(std::set<int> counters) {
  if (expect_single(this, "bounding_box")->is_empty()) return clone();
  Polyhedron* box = new Polyhedron();
  for (int counter : counters) {
    Polyhedron* projection = project(counter);
    box->add_constraints(projection);
    delete projection;
  }
  return box;
}

Polyhedron* Polyhedron::bounding_box(std::vector<int> counters) {
  return bounding_box(std::set<int>(counters.begin(), counters.end()));
}

Polyhedron* Polyhedron::bounding_box() { return bounding_box(get_counters()); }

std::vector<Polyhedron*> Polyhedron::boxify(const std::vector<Polyhedron*>& v, std::vector<int> counters) {
  std::vector<Polyhedron*> r;
  for (Polyhedron* p : v) r.push_back(p->bounding_box(counters));
  return r;
}

std::vector<Polyhedron*> Polyhedron::boxify(const std::vector<Polyhedron*>& v) {
  std::vector<Polyhedron*> r;
  for (Polyhedron* p : v) r.push_back(p->bounding_box());
  return r;
}
