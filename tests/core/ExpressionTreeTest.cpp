#include <algorithm>
#include <set>

#include "CoreTest.h"
#include "Expression.h"
#include "FakeEnumeration.h"
#include "Inequation.h"

namespace {

// Counters i (rank 0), j (rank 1) and parameter N (rank 0).
using ExpressionTreeTest = IJNLeavesTest;

TEST_F(ExpressionTreeTest, CloneIsIndependentOfItsOriginal) {
  Expression* sum = new Expression(PLUS, i, n);
  sum->to_vector();
  Expression* copy = sum->clone();
  EXPECT_EQ(copy->has_vector, 1);
  delete sum;
  EXPECT_EQ(copy->evaluate_int({{0, 3}}, {{0, 4}}), 7);
  Expression built(TIMES, copy, j);
  EXPECT_EQ(built.has_vector, 0);
  delete copy;
  EXPECT_EQ(text(built), "(i+N)*j");
}

TEST_F(ExpressionTreeTest, AssignmentFromASubtreeOfTheReceiver) {
  Expression* inner = new Expression(TIMES, i, n);
  Expression tree(PLUS, inner, j);
  delete inner;
  tree = *tree.fg;
  EXPECT_EQ(text(tree), "i*N");
  tree = *tree.fd;
  EXPECT_EQ(text(tree), "N");
  EXPECT_TRUE(tree.is_a_parameter());
  Expression& same = tree;
  tree = same;
  EXPECT_EQ(text(tree), "N");
}

TEST_F(ExpressionTreeTest, ShallowCopyTakesOverTheOperands) {
  Expression* source = new Expression(MINUS, i, j);
  Expression target(5);
  target.shallow_copy(source);
  EXPECT_EQ(source->fg, nullptr);
  delete source;
  EXPECT_EQ(text(target), "i-j");
}

TEST_F(ExpressionTreeTest, StructuralEquality) {
  Expression ij(PLUS, i, j);
  Expression ji(PLUS, j, i);
  Expression ij2(PLUS, i, j);
  EXPECT_FALSE(ij == ji);
  EXPECT_TRUE(ij == ij2);
  EXPECT_TRUE(ij != ji);
  Expression* counter0 = Expression::from_counter_rank(0);
  EXPECT_FALSE(*counter0 == *n);  // same rank, other kind
  EXPECT_TRUE(*counter0 == *i);
  delete counter0;
  Expression fraction(4, 2);
  EXPECT_TRUE(fraction.is_constant_fraction());
  EXPECT_FALSE(fraction.is_constant());
  EXPECT_FALSE(fraction == Expression(2));
  EXPECT_FALSE(ij == *i);
  EXPECT_FALSE(Expression(MINUS, i, j) == ij);
}

TEST_F(ExpressionTreeTest, NameConstructorRegistersUnknownNamesAsParameters) {
  Expression m("M");
  EXPECT_TRUE(m.is__parameter(1));
  Expression again("M");
  EXPECT_EQ(get_nb_parameters(), 2);
  Expression counter("j");
  EXPECT_TRUE(counter.is__counter(1));
}

TEST_F(ExpressionTreeTest, LeafPredicates) {
  Expression zero(0), minus_one(-1);
  EXPECT_TRUE(zero.is_positive_constant());
  EXPECT_FALSE(minus_one.is_positive_constant());
  EXPECT_TRUE(minus_one.is_value(-1));
  Expression neg(TIMES, &minus_one, i);
  Expression not_neg(TIMES, i, &minus_one);
  EXPECT_TRUE(neg.is_neg());
  EXPECT_FALSE(not_neg.is_neg());
  EXPECT_TRUE(neg.is_op(TIMES));
  EXPECT_FALSE(i->is_op(PLUS));
  // Operator nodes keep leaf fields that carry no meaning.
  Expression div(DIV, n, i);
  div.val = 3;
  div.is_val = 1;
  EXPECT_FALSE(div.is_constant());
  EXPECT_FALSE(div.is_value(3));
  EXPECT_TRUE(div.has_div());
  EXPECT_TRUE(div.has_parameters());
  EXPECT_TRUE(div.has_variables());
  EXPECT_FALSE(n->has_variables());
}

TEST_F(ExpressionTreeTest, FloorAndCeilPredicates) {
  Expression two(2), one(1);
  Expression floor(FLOOR, n, &two);
  EXPECT_TRUE(floor.is_floor());
  EXPECT_FALSE(floor.is_ceil());
  EXPECT_TRUE(floor.has_ceil_or_floor());
  EXPECT_FALSE(floor.has_internal_ceil_or_floor());
  Expression outer(PLUS, &floor, &one);
  EXPECT_TRUE(outer.has_internal_ceil_or_floor());
  EXPECT_FALSE(i->has_internal_ceil_or_floor());
}

TEST_F(ExpressionTreeTest, MeasuresAndPowersOfTwo) {
  Expression three(3), big(1024);
  Expression product(TIMES, &three, i);
  Expression sum(PLUS, &product, &big);
  EXPECT_EQ(sum.nb_power_2(), 1);
  EXPECT_EQ(sum.depth(), 2);
  EXPECT_EQ(i->depth(), 0);
  EXPECT_TRUE(is_power_of_2(1));
  EXPECT_TRUE(is_power_of_2(8192));
  EXPECT_FALSE(is_power_of_2(16384));
  EXPECT_FALSE(is_power_of_2(0));
  EXPECT_FALSE(is_power_of_2(6));
}

TEST_F(ExpressionTreeTest, ArithmeticBuildsNewUnfoldedNodes) {
  Expression two(2), three(3);
  Expression& sum = two + three;
  EXPECT_TRUE(sum.is_op(PLUS));
  EXPECT_EQ(text(sum), "2+3");
  // Each operator returns a new node: intermediate results are freed too.
  Expression& product = 4 * *i;
  Expression& mixed = product - 1;
  EXPECT_EQ(text(mixed), "(4*i)-1");
  Expression& half = *n / 2;
  Expression& quotient = half % *j;
  EXPECT_EQ(text(quotient), "(N/2)%j");
  for (Expression* e : {&sum, &product, &mixed, &half, &quotient}) delete e;
  std::string forms;
  for (Expression* e : {&(1 + *i), &(*i + 2), &(3 - *i), &(*i * 5), &(6 / *i), &(*i % 7), &(8 % *i),
                        &(*i - *j), &(*i / *j), &(*i * *j), &(*i + *j)}) {
    forms += text(e) + " ";
    delete e;
  }
  EXPECT_EQ(forms, "1+i i+2 3-i i*5 6/i i%7 8%i i-j i/j i*j i+j ");
  EXPECT_EQ(text(two), "2");
}

TEST_F(ExpressionTreeTest, OrderingAndConstraintBuildersCoexist) {
  // Const operands reach the ordering, non-const ones build constraints.
  const Expression& ci = *i;
  const Expression& cj = *j;
  EXPECT_TRUE(cj < ci);  // [0,1,0,0] < [1,0,0,0]
  Inequation* built = *i < *j;
  EXPECT_EQ(built->pred, LESS);
  delete built;
  std::vector<Expression*> l{i, j, n};
  std::sort(l.begin(), l.end(), [](const Expression* a, const Expression* b) { return *a < *b; });
  EXPECT_EQ(l[0], n);
  EXPECT_EQ(l[2], i);
}

TEST_F(ExpressionTreeTest, FactoriesAndSharedNames) {
  create_parameter_rank("n");
  Expression* counter = var("n");  // a counter although "n" is a parameter
  EXPECT_TRUE(counter->is__counter(2));
  Expression* parameter = par("n");
  EXPECT_TRUE(parameter->is__parameter(1));
  Expression* leaf = var(1);
  EXPECT_TRUE(leaf->is__counter(1));
  Expression* value = val(5);
  Expression* other = v(5);
  EXPECT_TRUE(*value == *other);
  std::vector<Expression*> copies = clone_ve({i, j});
  EXPECT_TRUE(*copies[1] == *j);
  EXPECT_NE(copies[1], j);
  EXPECT_EQ(Expression::get_counters(copies), (std::set<int>{0, 1}));
  del(copies);
  del(std::vector<Expression*>{counter, parameter, leaf, value, other, nullptr});
}

TEST_F(ExpressionTreeTest, UnionMapKeepsPointersAndStopsOnSharedKeys) {
  std::map<int, Expression*> a{{0, i}}, b{{1, j}};
  std::map<int, Expression*> joined = union_map(a, b);
  EXPECT_EQ(joined[0], i);
  EXPECT_EQ(joined[1], j);
  EXPECT_STOP_ON_STDERR(union_map(a, a), "Expression::union_map: expect disjoint maps");
  del(std::map<int, Expression*>{{0, nullptr}});
  del(std::map<std::set<int>, Expression*>{{{1}, new Expression(1)}});
}

TEST_F(ExpressionTreeTest, SubclassIsDeletedThroughTheBase) {
  int deletions = 0;
  Expression* enumeration = new FakeEnumeration(&deletions);
  Expression* tree = new Expression(PLUS, i, enumeration);
  delete enumeration;
  EXPECT_EQ(deletions, 1);
  delete tree;  // the clone inside the tree
  EXPECT_EQ(deletions, 2);
}

TEST_F(ExpressionTreeTest, CacheGoesStaleWhenTheRegistryGrows) {
  Expression sum(PLUS, i, n);
  sum.to_vector();
  EXPECT_TRUE(sum.has_up_to_date_vector());
  create_extra_counter_rank("k");
  EXPECT_FALSE(sum.has_up_to_date_vector());
  EXPECT_EQ(sum.to_vector(), (std::vector<int>{1, 0, 0, 1, 0}));
}

}  // namespace
