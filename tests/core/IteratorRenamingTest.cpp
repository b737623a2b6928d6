// The renaming of iscc's loop iterators that would shadow a name read by
// the statement macros.

#include <gtest/gtest.h>

#include "IteratorRenaming.h"

namespace {

const char* const nest =
    "for (long long c0 = 0; c0 < N; c0 += 1)\n"
    "  for (long long c1 = 0; c1 <= min(c0, 4); c1 += 1)\n"
    "    S0(c0, c1);\n";

TEST(IteratorRenaming, NestWithoutClashStaysAsIs) {
  std::string head = "int N;\ndouble A[10][10];\n#define S0(i,j) { A[(i)][(j)]=1e5+0x1c1; }\n";
  EXPECT_EQ(rename_clashing_iterators(nest, head), nest);
}

TEST(IteratorRenaming, ClashingIteratorGetsAFreshNameAtEveryUse) {
  std::string head = "int N;\ndouble c1;\ndouble c1_0;\n#define S0(i,j) { a[(i)]=c1*a[(j)]; }\n";
  EXPECT_EQ(rename_clashing_iterators(nest, head),
            "for (long long c0 = 0; c0 < N; c0 += 1)\n"
            "  for (long long c1_1 = 0; c1_1 <= min(c0, 4); c1_1 += 1)\n"
            "    S0(c0, c1_1);\n");
}

TEST(IteratorRenaming, FreshNameAvoidsTheNestsOwnNames) {
  std::string nest_with_parameter = "for (long long c0 = 0; c0 < c0_0; c0 += 1)\n  S0(c0);\n";
  EXPECT_EQ(rename_clashing_iterators(nest_with_parameter, "int c0[4];\n"),
            "for (long long c0_1 = 0; c0_1 < c0_0; c0_1 += 1)\n  S0(c0_1);\n");
}

TEST(IteratorRenaming, NestInLongLongCastsParametersAndWidensConstants) {
  std::string text = "for (long long c0 = 0; c0 < 2 * N + block_size; c0 += 1)\n  S1(c0, N);\n";
  EXPECT_EQ(in_long_long(text, {"N", "block_size"}),
            "for (long long c0 = 0LL; c0 < 2LL * ((long long)N) + ((long long)block_size); c0 += 1LL)\n"
            "  S1(c0, ((long long)N));\n");
}

TEST(IteratorRenaming, NestInLongLongLeavesCallsOfAParametersName) {
  EXPECT_EQ(in_long_long("S1(S1, c1);\nS1 (c1);\n", {"S1"}), "S1(((long long)S1), c1);\nS1 (c1);\n");
}

}  // namespace
