#include <unistd.h>

#include <fstream>
#include <random>

#include "CoreTest.h"
#include "Expression.h"
#include "Inequation.h"
#include "SyntaxTree.h"
#include "ValueOutOfRange.h"

namespace {

SgNode* find_assignment(SgNode* node) {
  if (!node) return nullptr;
  if (node->variantT() == V_SgAssignOp) return node;
  for (SgNode* child : node->get_traversalSuccessorContainer())
    if (SgNode* found = find_assignment(child)) return found;
  return nullptr;
}

// The right-hand side of "x = <c_text>;" parsed by the front end (the
// syntax tree lives until the process ends).
SgExpression* parse(const std::string& c_text) {
  static int files = 0;
  std::string path = testing::TempDir() + "core_from_sage_" + std::to_string(getpid()) + "_" +
                     std::to_string(files++) + ".c";
  std::ofstream(path) << "void f(void) {\n  x = " << c_text << ";\n}\n";
  std::string program = "tarvex";
  char* argv[] = {&program[0], &path[0], nullptr};
  SgProject* project = frontend(2, argv);
  std::remove(path.c_str());
  SgBinaryOp* assignment = isSgBinaryOp(find_assignment(project));
  if (!assignment) ADD_FAILURE() << "cannot parse " << c_text;
  return assignment ? assignment->get_rhs_operand() : nullptr;
}

// Counters i (0) and j (1); every other name becomes a parameter.
class FromSageTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    create_counter_rank("i");
    create_counter_rank("j");
  }
  std::string read(const std::string& c_text) {
    Expression* e = Expression::from_Sage(parse(c_text));
    std::string shown = text(e);
    delete e;
    return shown;
  }
};

TEST_F(FromSageTest, OperatorsLeavesAndCasts) {
  EXPECT_EQ(read("2*i + N - 1"), "((2*i)+N)-1");
  EXPECT_EQ(get_parameter_rank("N"), 0);
  EXPECT_EQ(read("-i"), "-1*i");
  EXPECT_EQ(read("(int)N"), "N");
  EXPECT_EQ(read("3.0"), "3");
  // Products of constants are folded, so that -2 * N stays affine.
  EXPECT_EQ(read("-2 * N + M * -1 + 2 * 3 * i"), "((-2*N)+(M*-1))+(6*i)");
  Expression* affine = Expression::from_Sage(parse("-2 * N - 3 * -i"));
  EXPECT_NO_THROW(affine->to_vector());
  delete affine;
  EXPECT_EQ(read("N / (j - 2)"), "N/(j-2)");
  Expression* e = Expression::from_Sage(parse("i*M"));
  EXPECT_TRUE(e->fg->is__counter(0));
  EXPECT_TRUE(e->fd->is__parameter(1));
  delete e;
}

TEST_F(FromSageTest, FloorAndCeilOfAQuotient) {
  EXPECT_EQ(read("floor((N+1)/2)"), "floor(N+1,2)");
  EXPECT_EQ(read("ceil(N/2)"), "ceil(N,2)");
  EXPECT_EQ(read("i + ceil(floor(N/2)/3)"), "i+(ceil(floor(N,2),3))");
  Expression* e = Expression::from_Sage(parse("ceil(N/2)"));
  EXPECT_TRUE(e->is_ceil());
  delete e;
}

TEST_F(FromSageTest, RejectedForms) {
  const std::string prefix = "Expression::from_Sage: ";
  EXPECT_STOP_ON_STDOUT(read("2.5"), prefix + "not an integer:2.5");
  EXPECT_STOP_ON_STDOUT(read("1e10"), prefix + "not an integer:1e10");
  EXPECT_STOP_ON_STDOUT(read("floor(N)"),
                        prefix + "unary_function (./.) expected (ceil/floor handling):N\nN");
  EXPECT_STOP_ON_STDOUT(read("ceil(N+1, 2)"),
                        prefix + "unary function expected (ceil/floor handling):N + 1, 2");
  EXPECT_STOP_ON_STDOUT(read("abs(N)"), prefix + "floor/ceil expected:abs(N)");
  EXPECT_STOP_ON_STDOUT(read("abs(N/2)"), prefix + "floor/ceil expected:abs(N / 2)");
  EXPECT_STOP_ON_STDOUT(read("min(i, N)"), prefix + "floor/ceil expected:min(i, N)");
  EXPECT_STOP_ON_STDOUT(read("i % 2"), prefix + "SgModOp unhandled");
  EXPECT_STOP_ON_STDOUT(read("i < N"), prefix + "SgLessThanOp unhandled");
  EXPECT_STOP_ON_STDOUT(read("10u"), prefix + "SgUnsignedIntVal unhandled");
  // C computes these otherwise than the model would read them.
  EXPECT_STOP_ON_STDOUT(read("i + (double)N / 2"),
                        prefix + "a division in floating point has no integer form: (double)N / 2");
  EXPECT_STOP_ON_STDOUT(read("(2.0 * N) / 4"),
                        prefix + "a division in floating point has no integer form: 2.0 * N / 4");
  EXPECT_STOP_ON_STDOUT(read("(unsigned)N"), prefix + "a cast to unsigned may change the value: (unsigned)N");
  EXPECT_STOP_ON_STDOUT(read("(short)N"), prefix + "a cast to short may change the value: (short)N");
}

// The value of the literal beyond int that reading c_text refused, "none"
// when it was read.
std::string refused_value(const std::string& c_text) {
  try {
    delete Expression::from_Sage(parse(c_text));
  } catch (const ValueOutOfRange& e) {
    return e.value;
  }
  return "none";
}

// The leaves of the model are int: a long literal is read when its value,
// negated or not, is an int (-2147483648 negates a long), and refused with
// its value otherwise.
TEST_F(FromSageTest, LongLiteralsWithinInt) {
  EXPECT_EQ(read("i + 10L - 3LL"), "(i+10)-3");
  EXPECT_EQ(read("-2147483648"), "-2147483648");
  EXPECT_EQ(read("j + -2147483648LL"), "j+-2147483648");
  EXPECT_EQ(refused_value("N + 2147483648"), "2147483648");
  EXPECT_EQ(refused_value("-4294967296L"), "-4294967296");
  EXPECT_EQ(refused_value("-(2147483647 + 2147483648)"), "2147483648");
}

TEST_F(FromSageTest, CastsThatKeepTheValue) {
  EXPECT_EQ(read("(long)N + (long long)i"), "N+i");
  EXPECT_EQ(read("(double)(N / 2)"), "N/2");
  EXPECT_EQ(read("floor((double)N / 2)"), "floor(N,2)");
}

// Random C expressions with the meaning the reader gives them: C's
// truncating "/" outside floor/ceil, exact quotients inside.
class RandomC {
 public:
  explicit RandomC(unsigned seed) : random_(seed) {}
  // Returns the C text; `value` receives its value at i, j, N.
  std::string draw(int depth, int vi, int vj, int vn, long& value) {
    if (depth == 0 || random_() % 4 == 0) {
      switch (random_() % 4) {
        case 0: value = vi; return "i";
        case 1: value = vj; return "j";
        case 2: value = vn; return "N";
        default: value = random_() % 10; return std::to_string(value);
      }
    }
    long a, b;
    std::string l = draw(depth - 1, vi, vj, vn, a);
    int k = static_cast<int>(random_() % 4) + 1;
    switch (random_() % 6) {
      case 0: {
        std::string r = draw(depth - 1, vi, vj, vn, b);
        value = a + b;
        return "(" + l + " + " + r + ")";
      }
      case 1: {
        std::string r = draw(depth - 1, vi, vj, vn, b);
        value = a - b;
        return "(" + l + " - " + r + ")";
      }
      case 2: value = a * k; return "(" + l + ") * " + std::to_string(k);
      case 3: value = -a; return "-(" + l + ")";
      case 4: value = a / k; return "(" + l + ") / " + std::to_string(k);
      default: {
        bool is_floor = random_() % 2;
        double q = static_cast<double>(a) / k;
        value = static_cast<long>(is_floor ? std::floor(q) : std::ceil(q));
        return std::string(is_floor ? "floor" : "ceil") + "((" + l + ") / " + std::to_string(k) + ")";
      }
    }
  }
  unsigned next() { return random_(); }

 private:
  std::mt19937 random_;
};

TEST_F(FromSageTest, RandomExpressionsEvaluateToTheirCValue) {
  RandomC generator(41);
  create_parameter_rank("N");
  for (int trial = 0; trial < 60; trial++) {
    int vi = static_cast<int>(generator.next() % 21) - 10;
    int vj = static_cast<int>(generator.next() % 21) - 10;
    int vn = static_cast<int>(generator.next() % 21) - 10;
    long value = 0;
    unsigned seed = generator.next();
    RandomC same(seed);
    std::string c_text = same.draw(4, vi, vj, vn, value);
    Expression* e = Expression::from_Sage(parse(c_text));
    EXPECT_EQ(e->evaluate_int({{0, vi}, {1, vj}}, {{0, vn}}), value)
        << c_text << " read as " << text(e);
    delete e;
  }
}

TEST_F(FromSageTest, Comparisons) {
  struct Case {
    const char* c_text;
    predicate_t pred;
  } cases[] = {{"i == N", EQ}, {"i < N", LESS}, {"i > N", GREATER},
               {"i <= N", LESS_EQ}, {"i >= floor(N/2)", GREATER_EQ}};
  for (const Case& c : cases) {
    Inequation* read = Inequation::from_Sage(parse(c.c_text));
    EXPECT_EQ(read->pred, c.pred) << c.c_text;
    EXPECT_TRUE(read->lhs->is__counter(0));
    delete read;
  }
  Inequation* bound = Inequation::from_Sage(parse("2*j + 1 <= M - i"));
  std::ostringstream out;
  out << *bound;
  EXPECT_EQ(out.str(), "(2*j)+1 <= M-i");
  EXPECT_EQ(bound->check().size(), 5u);
  delete bound->rhs->fd;
  bound->rhs->fd = bound->lhs->fg->fd;  // j on both sides
  EXPECT_THROW(bound->check(), const char*);
  bound->rhs->fd = new Expression(0);
  delete bound;
  EXPECT_STOP_ON_STDOUT(Inequation::from_Sage(parse("i != N")),
                        "Inequation::from_Sage: SgNotEqualOp unhandled");
  EXPECT_STOP_ON_STDOUT(Inequation::from_Sage(parse("i + N")),
                        "Inequation::from_Sage: SgAddOp unhandled");
}

}  // namespace
