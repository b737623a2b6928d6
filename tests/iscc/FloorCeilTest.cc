#include <gtest/gtest.h>

#include "FloorCeil.h"

namespace {

std::string rewritten(const std::string& text) {
  std::string out, error;
  EXPECT_TRUE(iscc::rewrite_floor_ceil(text, out, error)) << error;
  return out;
}

std::string refusal(const std::string& text) {
  std::string out = "untouched", error;
  EXPECT_FALSE(iscc::rewrite_floor_ceil(text, out, error)) << text;
  EXPECT_EQ(out, "untouched");
  return error;
}

TEST(FloorCeil, RewritesTwoArgumentCallsIntoDivisions) {
  EXPECT_EQ(rewritten("i <= floor(N+1,2)"), "i <= floor((N+1)/2)");
  EXPECT_EQ(rewritten("i >= ceil(N,3) and j <= floor(M,4)"),
            "i >= ceil((N)/3) and j <= floor((M)/4)");
  EXPECT_EQ(rewritten("floor(max(N,3),2)"), "floor((max(N,3))/2)");
  EXPECT_EQ(rewritten("floor(N, 2 )"), "floor((N)/2)");
}

TEST(FloorCeil, RewritesNestedCalls) {
  EXPECT_EQ(rewritten("floor(floor(N,2)+1,3)"), "floor((floor((N)/2)+1)/3)");
  EXPECT_EQ(rewritten("ceil(floor(N,2)-ceil(M,5),7)"), "ceil((floor((N)/2)-ceil((M)/5))/7)");
}

TEST(FloorCeil, LeavesOtherWordsAndOneArgumentCallsAlone) {
  for (const char* text : {"floord(N,2)", "ceild(N,2)", "myfloor(N,2)", "floor_x(N,2)",
                           "floor((N+1)/2)", "ceil(N/2)", "floor", "[floor] -> { S0[i] : i < floor }",
                           "floor (N,2)", "floor(N,2"})
    EXPECT_EQ(rewritten(text), text);
  EXPECT_EQ(rewritten("floord(floor(N,2),2)"), "floord(floor((N)/2),2)");
}

TEST(FloorCeil, RefusesDivisorsThatAreNotPositiveIntegers) {
  EXPECT_EQ(refusal("floor(N,0)"), "floor/ceil divisor must be a positive integer constant: '0'");
  EXPECT_EQ(refusal("ceil(N, -2)"), "floor/ceil divisor must be a positive integer constant: '-2'");
  EXPECT_EQ(refusal("floor(N,M)"), "floor/ceil divisor must be a positive integer constant: 'M'");
  EXPECT_EQ(refusal("floor(N,(2))"), "floor/ceil divisor must be a positive integer constant: '(2)'");
  EXPECT_EQ(refusal("floor(N,)"), "floor/ceil divisor must be a positive integer constant: ''");
  EXPECT_EQ(refusal("i < floor(floor(N,0)+1,3)"),
            "floor/ceil divisor must be a positive integer constant: '0'");
}

}  // namespace
