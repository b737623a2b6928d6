#include "Array.h"
#include "CoreTest.h"

namespace {

using ArrayTest = CoreTest;

TEST_F(ArrayTest, NameOrderRanksAndOverwrite) {
  add_array("b", 1);
  add_array("A", 2);
  add_array("a", 1);
  EXPECT_EQ(get_arrays(), (std::vector<std::string>{"A", "a", "b"}));
  EXPECT_EQ(get_array_rank("b"), 2);
  set_array_dim("A", 3);
  EXPECT_EQ(get_array_dim("A"), 3);
  EXPECT_EQ(get_arrays().size(), 3u);
  EXPECT_EQ(is_an_array("a"), 1);
  EXPECT_EQ(is_an_array("c"), 0);
  testing::internal::CaptureStdout();
  print_arrays();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "A(3)\na(1)\nb(1)\n");
}

TEST_F(ArrayTest, ReservedNamesAreRemovedOthersStay) {
  const char* reserved[] = {"schedule", "tile_group", "tile_size", "tile_hyperplans",
                            "bound", "output__", "parallelize"};
  for (const char* name : reserved) {
    EXPECT_EQ(is_reserved_array(name), 1) << name;
    add_array(name, 1);
  }
  for (const char* name : {"tile_ratio", "tile_lattice", "tile_shape", "tile_hyperplanes", "A"}) {
    EXPECT_EQ(is_reserved_array(name), 0) << name;
    add_array(name, 2);
  }
  remove_reserved_arrays();
  EXPECT_EQ(get_arrays(), (std::vector<std::string>{"A", "tile_hyperplanes", "tile_lattice",
                                                     "tile_ratio", "tile_shape"}));
  EXPECT_EQ(get_array_dim("tile_ratio"), 2);
}

TEST_F(ArrayTest, NameMakersAndStops) {
  EXPECT_EQ(get_temporary_array("A"), "A_tmp");
  EXPECT_EQ(get_buffered_array("A", 2), "A_2");
  EXPECT_EQ(get_buffered_array("A B", 2), "A");
  EXPECT_STOP_ON_STDOUT(get_array_dim("X"), "Array::get_array_dim: 'X' not found");
  EXPECT_STOP_ON_STDOUT(get_array_rank("X"), "Array::get_array_rank: array not found: X");
}

}  // namespace
