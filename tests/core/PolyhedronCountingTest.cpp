// Measuring polyhedra: bounding boxes and their volume, counting, ranks
// and symbolic bounds.

#include <gtest/gtest.h>

#include <algorithm>

#include "CoreTest.h"
#include "Polyhedron.h"
#include "PolyhedronBuilders.h"
#include "PolyhedronOracles.h"
#include "PolyhedronTestSupport.h"

namespace {

const std::set<int> IJ{0, 1};

class Boxes : public IJLeavesTest {
 protected:
  static Rows rows(Polyhedron* p) { return p->to_matrix(IJ, std::set<int>()); }
};

// The volume of the box of the rational vertices: the product of the
// non-zero extents, truncated toward zero.
long long box_volume(const std::set<Vertex>& vertices) {
  Rational low[2], high[2];
  bool first = true;
  auto less = [](Rational a, Rational b) { return a.first * b.second < b.first * a.second; };
  for (const Vertex& v : vertices) {
    Rational x[2] = {v.first, v.second};
    for (int k = 0; k < 2; k++) {
      if (first || less(x[k], low[k])) low[k] = x[k];
      if (first || less(high[k], x[k])) high[k] = x[k];
    }
    first = false;
  }
  Rational volume(1, 1);
  for (int k = 0; k < 2; k++) {
    Rational extent = rational(high[k].first * low[k].second - low[k].first * high[k].second,
                               high[k].second * low[k].second);
    if (extent.first != 0) volume = rational(volume.first * extent.first, volume.second * extent.second);
  }
  return volume.first / volume.second;
}

}  // namespace

TEST_F(Boxes, BoundingBoxesOfRandomPolygons) {
  std::mt19937 g(2117);
  for (int t = 0; t < 30; t++) {
    Polyhedron* p = new Polyhedron(random_ij_rows(g), IJ, std::set<int>());
    Polyhedron* b = t % 2 ? p->bounding_box() : p->bounding_box(std::vector<int>{0, 1});
    std::set<Point> inside = points(rows(p), 2, 6);
    std::set<Point> in_box = points(rows(b), 2, 6);
    EXPECT_TRUE(std::includes(in_box.begin(), in_box.end(), inside.begin(), inside.end()));
    std::set<Vertex> vertices = brute_vertices(rows(p));
    bool integral = true;
    for (const Vertex& v : vertices) integral = integral && v.first.second == 1 && v.second.second == 1;
    if (integral && !inside.empty()) {
      // The box of the integer points, exactly.
      std::set<Point> rectangle;
      int lo[2] = {99, 99}, hi[2] = {-99, -99};
      for (const Point& x : inside)
        for (int k = 0; k < 2; k++) {
          lo[k] = std::min(lo[k], x[k]);
          hi[k] = std::max(hi[k], x[k]);
        }
      for (int a = lo[0]; a <= hi[0]; a++)
        for (int c = lo[1]; c <= hi[1]; c++) rectangle.insert({a, c});
      EXPECT_EQ(in_box, rectangle) << box(p) << box(b);
    }
    EXPECT_EQ(p->bounding_box_volume(), inside.empty() ? 0 : box_volume(vertices)) << box(p);
    del(std::vector<Polyhedron*>{p, b});
  }
}

TEST_F(Boxes, PinnedBoundingBoxesAndVolumes) {
  Expression two(2), two_i(TIMES, &two, i);
  Polyhedron* rectangle = poly({*i >= 0, *i <= 3, *j >= 0, *j <= 5});
  Polyhedron* never = poly({*i >= 1, *i <= 0});
  Polyhedron* half = poly({two_i >= 1, two_i <= 1});
  Polyhedron* wide = poly({two_i >= 0, two_i <= 3, *j >= 0, *j <= 1});
  EXPECT_EQ(rectangle->bounding_box_volume(), 15);
  EXPECT_EQ(never->bounding_box_volume(), 0);
  EXPECT_EQ(half->bounding_box_volume(), 0);
  EXPECT_EQ(wide->bounding_box_volume(), 1);
  EXPECT_EQ(rectangle->bounding_box_volume(std::set<int>{1}), 5);
  // A counter of no constraint is not measured.
  create_counter_rank("k");
  EXPECT_EQ(rectangle->bounding_box_volume(), 15);
  Polyhedron* copy = never->bounding_box();
  EXPECT_EQ(box(copy), box(never));
  std::vector<Polyhedron*> boxes = Polyhedron::boxify({rectangle, wide}, {1});
  EXPECT_EQ(points(rows(boxes[0]), 2, 6), points(Rows{{1, 0, 1, 0}, {1, 0, -1, 5}}, 2, 6));
  EXPECT_EQ(points(rows(boxes[1]), 2, 6), points(Rows{{1, 0, 1, 0}, {1, 0, -1, 1}}, 2, 6));
  std::vector<Polyhedron*> all = Polyhedron::boxify({wide});
  EXPECT_EQ(points(rows(all[0]), 2, 6), points(Rows{{1, 1, 0, 0}, {1, -1, 0, 1}, {1, 0, 1, 0}, {1, 0, -1, 1}}, 2, 6));
  del(boxes);
  del(all);
  del(std::vector<Polyhedron*>{rectangle, never, half, wide, copy});
}

TEST_F(Boxes, BoundingBoxVolumeStops) {
  create_parameter_rank("N");
  Expression n(std::string("N"));
  Polyhedron* p = poly({*i >= 0, *i <= n});
  EXPECT_STOP_ON_STDOUT(p->bounding_box_volume(), "Polyhedron::bounding_box_volume(): parametrized polyhedron");
  Polyhedron* ray = poly({*i >= 0, *j >= 0, *j <= 1});
  EXPECT_STOP_ON_STDERR(ray->bounding_box_volume(), "PolylibWrapper::bounding_box_volume: unbounded polyhedron");
  delete p;
  delete ray;
}
