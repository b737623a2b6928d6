#include <isl/ctx.h>
#include <isl/point.h>
#include <isl/set.h>
#include <isl/val.h>

#include <random>
#include <sstream>

#include "CoreTest.h"
#include "Expression.h"
#include "Inequation.h"
#include "Sampling.h"

namespace {

// Counters i (0), j (1), parameter N (0).
class ExpressionPrintTest : public IJNLeavesTest {
 protected:
  void TearDown() override {
    IJNLeavesTest::TearDown();
    del(made);
  }
  // Builders whose results the fixture frees.
  Expression* node(operator_t op, const Expression* a, const Expression* b) {
    made.push_back(new Expression(op, a, b));
    return made.back();
  }
  Expression* node(operator_t op, const Expression* a, int b) {
    Expression r(b);
    return node(op, a, &r);
  }
  Expression* node(operator_t op, int a, const Expression* b) {
    Expression l(a);
    return node(op, &l, b);
  }
  Expression* node(operator_t op, int a, int b) {
    Expression l(a), r(b);
    return node(op, &l, &r);
  }
  std::vector<Expression*> made;
};

std::string iscc(const Expression& e) {
  std::ostringstream out;
  e.print_iscc(out);
  return out.str();
}

std::string plain(const Expression& e) {
  testing::internal::CaptureStderr();
  e.print();
  return testing::internal::GetCapturedStderr();
}

TEST_F(ExpressionPrintTest, TextForm) {
  Expression* row = node(PLUS, node(PLUS, -3, i), node(TIMES, 2, n));
  EXPECT_EQ(text(row), "(-3+i)+(2*N)");
  EXPECT_EQ(text(node(MINUS, i, -1)), "i--1");
  EXPECT_EQ(text(node(FLOOR, node(PLUS, n, 1), 2)), "floor(N+1,2)");
  EXPECT_EQ(text(node(MAX, node(CEIL, n, 2), i)), "max(ceil(N,2),i)");
  Expression* half = node(DIV, n, 2);
  EXPECT_EQ(text(half), "N/2");
  EXPECT_EQ(text(node(PLUS, n, half)), "N+(N/2)");
  EXPECT_EQ(text(node(POWER, node(MOD, i, 3), 2)), "(i%3)^2");
}

TEST_F(ExpressionPrintTest, CounterParenthesisFlag) {
  Expression* negated = node(TIMES, -1, i);
  EXPECT_EQ(text(negated), "-1*i");
  expression_print_parenthesis = 1;
  EXPECT_EQ(text(negated), "-1*(i)");
  EXPECT_EQ(text(node(PLUS, n, j)), "((long long)N)+(j)");
  // C would read "(i)--1" as a decrement.
  EXPECT_EQ(text(node(MINUS, i, -1)), "(i)-(-1)");
  EXPECT_EQ(iscc(*node(MINUS, n, -1)), "N-(-1)");
  EXPECT_EQ(iscc(*node(FLOOR, i, 2)), "floor(((i))/2)");
  // The plain form ignores the flag.
  EXPECT_EQ(plain(*node(PLUS, node(FLOOR, i, 2), negated)), "(floor(i,2))+(-1*i)");
}

TEST_F(ExpressionPrintTest, ContainerInserters) {
  std::ostringstream out;
  Expression* twice_i = node(TIMES, 2, i);
  out << std::vector<Expression*>{i, twice_i} << std::map<int, Expression*>{{0, twice_i}};
  EXPECT_EQ(out.str(), "i\n2*i\nN -> 2*i\n");
  std::ostringstream set_out;
  set_out << std::set<Expression*>{n};
  EXPECT_EQ(set_out.str(), "N\n");
}

TEST_F(ExpressionPrintTest, AddressFormAndVhdlStop) {
  Expression* sum = node(PLUS, i, node(FLOOR, n, 2));
  testing::internal::CaptureStderr();
  sum->print_ptr();
  std::string printed = testing::internal::GetCapturedStderr();
  std::ostringstream expected;
  expected << "(" << static_cast<const void*>(sum) << ")(" << static_cast<const void*>(sum->fg)
           << ")i+((" << static_cast<const void*>(sum->fd) << ")floor(N,2))";
  EXPECT_EQ(printed, expected.str());
  std::ostringstream a, b;
  EXPECT_STOP_ON_STDERR(i->print_vhdl(a, b), "Expression::print_vhdl: not an EnumerationExpression");
}

TEST_F(ExpressionPrintTest, IsccFormPins) {
  Expression* floor = node(FLOOR, node(PLUS, n, 1), 2);
  EXPECT_EQ(iscc(*floor), "floor((N+1)/2)");
  EXPECT_EQ(text(floor), "floor(N+1,2)");
  EXPECT_EQ(iscc(*node(DIV, 2, -3)), "floor((-(2))/3)");
  EXPECT_EQ(iscc(*node(CEIL, n, 4)), "ceil((N)/4)");
  Expression* half = node(DIV, n, 2);
  EXPECT_EQ(iscc(*half), "floor((N)/2)");
  EXPECT_EQ(text(half), "N/2");
  EXPECT_EQ(iscc(*node(MOD, node(PLUS, i, j), 3)), "(i+j)%3");
  EXPECT_EQ(iscc(*node(MOD, -1, 3)), "(-1)%3");
  EXPECT_EQ(text(node(MOD, -1, 3)), "-1%3");
  EXPECT_EQ(iscc(*node(MAX, node(DIV, i, 2), j)), "max(floor((i)/2),j)");
  EXPECT_STOP_ON_STDERR(iscc(*node(DIV, n, n)),
                        "Expression::print_iscc: constant non-zero divisor expected: N/N");
  EXPECT_STOP_ON_STDERR(iscc(*node(FLOOR, n, 0)),
                        "Expression::print_iscc: constant non-zero divisor expected: floor(N,0)");
  EXPECT_STOP_ON_STDERR(iscc(*node(POWER, n, 2)), "Expression::print_iscc: no isl form: N^2");
  EXPECT_STOP_ON_STDERR(iscc(*node(MOD, n, -2)),
                        "Expression::print_iscc: positive constant modulus expected: N%-2");
}

// Reference values with isl's meaning: floor division, non-negative modulo.
long long reference(const Expression* e, long long vi, long long vj, long long vn) {
  if (e->is_leaf) return e->is_val ? e->val : e->is_parameter ? vn : e->counter_rank == 0 ? vi : vj;
  long long a = reference(e->fg, vi, vj, vn);
  long long b = reference(e->fd, vi, vj, vn);
  switch (e->op) {
    case PLUS: return a + b;
    case MINUS: return a - b;
    case TIMES: return a * b;
    case DIV:
    case FLOOR: return floor_div(a, b);
    case CEIL: return -floor_div(-a, b);
    case MAX: return a > b ? a : b;
    case MOD: return ((a % b) + b) % b;
    default: ADD_FAILURE() << "no reference for " << text(e);
  }
  return 0;
}

class RandomQuasiAffine {
 public:
  RandomQuasiAffine(unsigned seed, std::vector<Expression*> leaves) : random_(seed), leaves_(leaves) {}
  Expression* draw(int depth) {
    if (depth == 0 || random_() % 4 == 0) return leaf();
    static const int divisors[] = {-3, -2, 2, 3, 4};
    Expression* a = draw(depth - 1);
    Expression* b;
    operator_t op;
    switch (random_() % 7) {
      case 0: op = PLUS; b = draw(depth - 1); break;
      case 1: op = MINUS; b = draw(depth - 1); break;
      case 2: op = TIMES; b = new Expression(static_cast<int>(random_() % 5) - 2); break;
      case 3: op = DIV; b = new Expression(divisors[random_() % 5]); break;
      case 4: op = random_() % 2 ? FLOOR : CEIL; b = new Expression(divisors[random_() % 5]); break;
      case 5: op = MAX; b = draw(depth - 1); break;
      default: op = MOD; b = new Expression(static_cast<int>(random_() % 3) + 2); break;
    }
    Expression* made = new Expression(op, a, b);
    delete a;
    delete b;
    return made;
  }
  predicate_t predicate() { return static_cast<predicate_t>(random_() % 5); }

 private:
  Expression* leaf() {
    int pick = random_() % (leaves_.size() + 1);
    if (pick == static_cast<int>(leaves_.size())) return new Expression(static_cast<int>(random_() % 9) - 4);
    return leaves_[pick]->clone();
  }
  std::mt19937 random_;
  std::vector<Expression*> leaves_;
};

isl_stat collect_point(isl_point* point, void* user) {
  auto* points = static_cast<std::set<std::pair<long, long>>*>(user);
  isl_val* vi = isl_point_get_coordinate_val(point, isl_dim_set, 0);
  isl_val* vj = isl_point_get_coordinate_val(point, isl_dim_set, 1);
  points->insert({isl_val_get_num_si(vi), isl_val_get_num_si(vj)});
  isl_val_free(vi);
  isl_val_free(vj);
  isl_point_free(point);
  return isl_stat_ok;
}

TEST_F(ExpressionPrintTest, IsccFormMeansTheSameToIsl) {
  RandomQuasiAffine random(17, {i, j, n});
  isl_ctx* ctx = isl_ctx_alloc();
  const int box = 5;
  for (int trial = 0; trial < sampled(150); trial++) {
    Expression* lhs = random.draw(3);
    Expression* rhs = random.draw(2);
    Inequation constraint(random.predicate(), lhs, rhs);
    std::ostringstream script;
    script << "[N] -> { S[i,j] : -" << box << " <= i <= " << box << " and -" << box
           << " <= j <= " << box << " and ";
    constraint.print_iscc(script);
    script << " }";
    isl_set* set = isl_set_read_from_str(ctx, script.str().c_str());
    ASSERT_NE(set, nullptr) << script.str();
    for (int vn = -4; vn <= 6; vn++) {
      std::set<std::pair<long, long>> from_isl, expected;
      isl_set* fixed = isl_set_fix_si(isl_set_copy(set), isl_dim_param, 0, vn);
      isl_set_foreach_point(fixed, collect_point, &from_isl);
      isl_set_free(fixed);
      for (int vi = -box; vi <= box; vi++)
        for (int vj = -box; vj <= box; vj++)
          if (holds(constraint.pred, reference(lhs, vi, vj, vn), reference(rhs, vi, vj, vn)))
            expected.insert({vi, vj});
      EXPECT_EQ(from_isl, expected) << script.str() << " at N = " << vn;
    }
    isl_set_free(set);
    delete lhs;
    delete rhs;
  }
  isl_ctx_free(ctx);
}

}  // namespace
