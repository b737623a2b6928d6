// Forms with integer divisions read from isl and evaluated without it, and
// the relations between two forms read from their terms.
#include <gtest/gtest.h>

#include <isl/aff.h>
#include <isl/ctx.h>
#include <isl/options.h>

#include <climits>

#include "integer_form.h"

namespace {

class IntegerFormTest : public testing::Test {
 protected:
  void SetUp() override {
    ctx_ = isl_ctx_alloc();
    isl_options_set_on_error(ctx_, ISL_ON_ERROR_ABORT);
  }
  void TearDown() override { isl_ctx_free(ctx_); }

  // The form of the isl text "[p0, p1] -> { [(...)] }".
  PipIntegerForm form(const char *text) {
    Isl<isl_aff> aff(ctx_, isl_aff_read_from_str(ctx_, text));
    return PipIntegerForm(ctx_, aff.get());
  }

  // The sign isl gives the text's form at (a, b).
  int isl_sign(const char *text, long long a, long long b) {
    isl_aff *aff = isl_aff_read_from_str(ctx_, text);
    isl_point *p = isl_point_zero(isl_aff_get_domain_space(aff));
    p = isl_point_set_coordinate_val(p, isl_dim_param, 0, isl_val_int_from_si(ctx_, a));
    p = isl_point_set_coordinate_val(p, isl_dim_param, 1, isl_val_int_from_si(ctx_, b));
    Isl<isl_val> v(ctx_, isl_aff_eval(aff, p));
    return isl_val_sgn(v.get());
  }

  isl_ctx *ctx_ = nullptr;
};

// Nested and negative divisions, on both sides of zero, as isl evaluates them.
TEST_F(IntegerFormTest, SignsAreIslsAtEveryPoint) {
  const char *texts[] = {
      "[p0, p1] -> { [(p0 - 2*p1 + 3)] }",
      "[p0, p1] -> { [(3*floor((p0 - p1)/4) - p0 + 1)] }",
      "[p0, p1] -> { [(floor((p1 + floor((2*p0 - 1)/3))/5) - floor((-p0)/2))] }",
      "[p0, p1] -> { [(7*floor((p0 + 5*p1 - 2)/17) - 2*floor((-3 - p1)/7) + p0 - 11)] }"};
  for (const char *text : texts) {
    PipIntegerForm f = form(text);
    for (long long a = -12; a <= 12; ++a)
      for (long long b = -12; b <= 12; ++b) {
        int sign = 2;
        ASSERT_TRUE(f.sign_at({a, b}, &sign));
        EXPECT_EQ(sign, isl_sign(text, a, b)) << text << " at " << a << ", " << b;
      }
  }
}

// Values beyond 127 bits and coefficients beyond 64 bits are left to isl.
TEST_F(IntegerFormTest, HugeValuesAreLeftToIsl) {
  PipIntegerForm f = form(
      "[p0, p1] -> { [(9223372036854775807*p0 + 9223372036854775807*p1 + "
      "9223372036854775807*floor((p0 + p1)/3))] }");
  int sign;
  EXPECT_TRUE(f.sign_at({1, -2}, &sign));
  EXPECT_EQ(sign, -1);
  EXPECT_FALSE(f.sign_at({LLONG_MAX, LLONG_MAX}, &sign));
  PipIntegerForm g = form("[p0, p1] -> { [(18446744073709551616*p0 + p1)] }");
  EXPECT_FALSE(g.sign_at({0, 1}, &sign));
  EXPECT_FALSE(g.implies(g));
}

// Divisions are told apart by their definitions, not by isl's numbering.
TEST_F(IntegerFormTest, ExclusionAndImplicationReadFromTheTerms) {
  PipIntegerForm c = form("[p0, p1] -> { [(2*floor((p0 + 1)/3) - p1 + 4)] }");
  PipIntegerForm below = form("[p0, p1] -> { [(-2*floor((p0 + 1)/3) + p1 - 5)] }");
  PipIntegerForm touching = form("[p0, p1] -> { [(-2*floor((p0 + 1)/3) + p1 - 4)] }");
  PipIntegerForm weaker = form("[p0, p1] -> { [(2*floor((p0 + 1)/3) - p1 + 9)] }");
  PipIntegerForm other_division = form("[p0, p1] -> { [(2*floor((p0 + 2)/3) - p1 + 9)] }");
  EXPECT_TRUE(c.excludes(below));
  EXPECT_TRUE(below.excludes(c));
  EXPECT_FALSE(c.excludes(touching));  // both hold where the form is 0
  EXPECT_TRUE(c.implies(weaker));
  EXPECT_FALSE(weaker.implies(c));
  EXPECT_FALSE(c.implies(other_division));
  EXPECT_FALSE(c.excludes(weaker));
}

}  // namespace
