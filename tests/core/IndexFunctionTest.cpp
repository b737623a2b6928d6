#include <random>
#include <sstream>

#include "CoreTest.h"
#include "Expression.h"
#include "IndexFunction.h"
#include "Polyhedron.h"
#include "QuastTestSupport.h"
#include "SyntaxTree.h"

namespace {

typedef std::vector<std::vector<int>> Rows;

// Counters i, j, k (0 .. 2) and parameters N, M (0, 1).
class IndexFunctionTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    for (const char* c : {"i", "j", "k"}) create_counter_rank(c);
    for (const char* p : {"N", "M"}) create_parameter_rank(p);
  }
  static std::string code(IndexFunction& f, int max_dim = -1) {
    std::ostringstream out;
    if (max_dim < 0)
      f.print_code(out);
    else
      f.print_code(out, max_dim);
    return out.str();
  }
  static std::string subscripts(IndexFunction& f) {
    std::ostringstream out;
    out << f;
    return out.str();
  }
};

TEST_F(IndexFunctionTest, MatrixFormsRoundTrip) {
  Rows r{{2, -1, 4, 5}, {0, 0, 1, -3}};
  std::vector<int> c{2, 0}, p{1};
  IndexFunction f(r, c, p);
  EXPECT_EQ(f.to_matrix(), (Rows{{-1, 0, 2, 0, 4, 5}, {0, 0, 0, 0, 1, -3}}));
  EXPECT_EQ(f.to_matrix(c, p), r);
  IndexFunction full(f.to_matrix());
  EXPECT_EQ(full.to_matrix(), f.to_matrix());
  std::mt19937 g(5);
  std::uniform_int_distribution<int> coefficient(-4, 4);
  for (int round = 0; round < 20; round++) {
    Rows random(3, std::vector<int>(4));
    for (auto& row : random)
      for (int& x : row) x = coefficient(g);
    IndexFunction h(random, std::vector<int>{1, 2}, std::vector<int>{0});
    EXPECT_EQ(h.to_matrix(std::vector<int>{1, 2}, std::vector<int>{0}), random);
    IndexFunction s(random, std::set<int>{2, 1}, std::set<int>{0});
    EXPECT_EQ(s.to_matrix(std::set<int>{1, 2}, std::set<int>{0}), random);
  }
  // A row built before a later registration is one column short.
  Rows narrow = f.to_matrix();
  create_counter_rank("late");
  EXPECT_STOP_ON_STDOUT(IndexFunction late(narrow), "Expression(polylib_vector): bad vector size7\n6");
}

TEST_F(IndexFunctionTest, ConstructorsAndCopies) {
  IndexFunction identity(std::vector<int>{0, 2});
  EXPECT_EQ(identity.surrounding_counters, (std::vector<int>{0, 2}));
  EXPECT_TRUE(identity.index_mapping[1]->is__counter(2));
  IndexFunction* copy = identity.clone();
  EXPECT_EQ(*copy == identity, 1);
  EXPECT_NE(copy->index_mapping[0], identity.index_mapping[0]);
  Expression* front = new Expression(7);
  copy->push_front(front);
  EXPECT_EQ(copy->index_mapping[0], front);
  delete copy;
  IndexFunction* zeros = IndexFunction::null_index({1}, 3);
  EXPECT_EQ(code(*zeros), "0,0,0");
  EXPECT_EQ(zeros->is_null_index(), 1);
  delete zeros;
  IndexFunction& names = vari("x", 2);
  EXPECT_EQ(get_counter_rank("x0"), 3);
  EXPECT_EQ(code(names), "x0,x1");
  delete &names;
  IndexFunction& sizes = pari("P", 1);
  EXPECT_TRUE(sizes.index_mapping[0]->is__parameter(get_parameter_rank("P0")));
  delete &sizes;
  Expression i("i"), j("j"), n("N");
  IndexFunction& chain = i | j | n;
  EXPECT_EQ(code(chain), "i,j,N");
  delete &chain;
  IndexFunction& pair = i && j;
  EXPECT_EQ(pair.size(), 2);
  delete &pair;
}

TEST_F(IndexFunctionTest, TextForms) {
  Expression zero(0), i("i"), j("j"), one(1);
  Expression j1(PLUS, &j, &one);
  IndexFunction f(std::vector<Expression*>{&zero, &i, &zero});
  EXPECT_EQ(code(f), "0,i,0");
  EXPECT_EQ(code(f, 5), "0,i,0,0,0");
  EXPECT_EQ(code(f, 2), "0,i,0");
  IndexFunction access(std::vector<int>{0, 1}, std::vector<Expression*>{&i, &j1});
  EXPECT_EQ(subscripts(access), "[i][" + text(j1) + "]");
  IndexFunction none;
  EXPECT_EQ(subscripts(none), "");
  EXPECT_EQ(code(none), "");
  EXPECT_EQ(code(none, 3), "0,0,0");
  testing::internal::CaptureStderr();
  access.print();
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "function i0 i1  -> \n/\n| i\n| " + text(j1) + "\n\\\n");
}

TEST_F(IndexFunctionTest, QueriesAndTheirStops) {
  IndexFunction five(std::vector<int>(), std::vector<int>{5});
  IndexFunction pair(std::vector<int>(), std::vector<int>{5, 6});
  IndexFunction counter(std::vector<int>{0});
  EXPECT_EQ(five.is_constant(), 1);
  EXPECT_EQ(pair.is_constant(), 0);
  EXPECT_EQ(counter.is_constant(), 0);
  EXPECT_EQ(five.constant(), 5);
  EXPECT_EQ(pair.is_constant({}), 1);
  EXPECT_EQ(pair.is_constant({1}), 1);
  EXPECT_EQ(IndexFunction().is_null_index(), 1);
  EXPECT_EQ(counter.is_null_index(), 0);
  Expression* last = pair.get_last();
  EXPECT_TRUE(last->is_value(6));
  delete last;
  EXPECT_STOP_ON_STDERR(pair.is_constant({2}), "IndexFunction::is_constant: out of bounds");
  EXPECT_STOP_ON_STDOUT(pair.constant(), "IndexFunction::constant: not a constant");
  EXPECT_STOP_ON_STDOUT(IndexFunction().get_last(), "IndexFunction::get_last: no entry");
  EXPECT_STOP_ON_STDERR(pair.add_modulos({3}), "IndexFunction::add_modulos: modulo vector too short");
  EXPECT_STOP_ON_STDERR(pair.add_modulos_expr({}), "IndexFunction::add_modulos: modulo vector too short");
}

TEST_F(IndexFunctionTest, EntrywiseOperations) {
  IndexFunction g(std::vector<int>{0, 1}, Rows{{1, 0, 0, 1, 0, 2}, {0, 0, 0, 0, 0, 4}});
  IndexFunction* renamed = g.counters_to_counters({{0, 2}});
  EXPECT_EQ(renamed->surrounding_counters, g.surrounding_counters);
  EXPECT_EQ(renamed->to_matrix()[0], (std::vector<int>{0, 0, 1, 1, 0, 2}));
  IndexFunction* moduli = g.add_modulos({3, 5});
  EXPECT_TRUE(moduli->index_mapping[1]->is_op(MOD));
  EXPECT_EQ(moduli->has_div(), 0);
  IndexFunction* varying = g.remove_constants();
  EXPECT_EQ(varying->size(), 1);
  Expression ten(10);
  IndexFunction* substituted = g.substitute_counters({{0, &ten}});
  EXPECT_EQ(substituted->to_matrix()[0], (std::vector<int>{0, 0, 0, 1, 0, 12}));
  IndexFunction* linear = g.linear_part();
  EXPECT_EQ(linear->to_matrix()[0], (std::vector<int>{1, 0, 0, 0, 0, 0}));
  del(std::vector<IndexFunction*>{renamed, moduli, varying, substituted, linear, nullptr});
}

TEST_F(IndexFunctionTest, ConversionsAndTheirStops) {
  Expression i("i"), n("N"), three(3);
  Expression in(PLUS, &i, &n);
  Expression in3(PLUS, &in, &three);
  IndexFunction f(std::vector<int>{0}, std::vector<Expression*>{&in3});
  EXPECT_EQ(f.to_matrix_cloog(), (Rows{{1, 0, 0, 3}}));
  std::map<int, Expression*> m = f.to_mapping();
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(*m[0] == in3, 1);
  del(m);
  IndexFunction sparse(std::vector<int>{2}, std::vector<Expression*>{&i});
  EXPECT_STOP_ON_STDERR(sparse.to_mapping(), "IndexFunction::to_mapping: rank out of bounds");
  std::map<int, Expression*> outputs = sparse.to_mapping(std::vector<int>{1});
  EXPECT_TRUE(outputs[1]->is__counter(0));
  del(outputs);
  EXPECT_EQ(f.to_matrix_linear({0, 2}), (Rows{{1, 0}}));
}

TEST_F(IndexFunctionTest, DensePointsFromSolverLists) {
  actual_counter[0] = 2;
  actual_parameter[0] = 1;
  PipList* one = pip_list({pip_vector({1, 4})});  // M + 4
  IndexFunction* point = IndexFunction::from_PipList(one, {});
  EXPECT_EQ(point->to_matrix(), (Rows{{0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 1, 4}}));
  EXPECT_TRUE(point->surrounding_counters.empty());
  delete point;
  PipList* more = pip_list({pip_vector({0, 7}), pip_vector({1, 4}), pip_vector({9, 9})});
  IndexFunction* skipped = IndexFunction::from_PipList(more, {}, 1);
  EXPECT_EQ(skipped->to_matrix()[2], (std::vector<int>{0, 0, 0, 0, 1, 4}));
  delete skipped;
  IndexFunction* extra = IndexFunction::from_PipList(more, {});
  EXPECT_EQ(extra->to_matrix()[2], (std::vector<int>{0, 0, 0, 0, 0, 7}));
  delete extra;
  EXPECT_STOP_ON_STDOUT(IndexFunction::from_PipList(more, {}, 3), "IndexFunction::from_Piplist: incorrect size");
  EXPECT_STOP_ON_STDOUT(IndexFunction::from_PipList(nullptr, {}), "IndexFunction::from_Piplist: incorrect size");
  pip_list_free(one);
  pip_list_free(more);
  // No unknown: the single cell's null vector is never read.
  actual_counter.clear();
  PipList* nothing = pip_list({nullptr});
  IndexFunction* zeros = IndexFunction::from_PipList(nothing, {});
  EXPECT_EQ(zeros->size(), 3);
  EXPECT_EQ(zeros->is_null_index(), 1);
  delete zeros;
  pip_list_free(nothing);
}

TEST_F(IndexFunctionTest, ArrayReferencesFromC) {
  Sg_File_Info* at = new Sg_File_Info("t.c", 1, 1);
  SgVarRefExp* a = new SgVarRefExp(at, "A");
  SgVarRefExp* i = new SgVarRefExp(at, "i");
  SgVarRefExp* j = new SgVarRefExp(at, "j");
  SgAddOp* j1 = new SgAddOp(at, j, new SgIntVal(at, 1, ""));
  SgPntrArrRefExp* access = new SgPntrArrRefExp(at, new SgPntrArrRefExp(at, a, i), j1);
  std::pair<std::string, IndexFunction*> read = IndexFunction::from_Sage(access, {0, 1});
  EXPECT_EQ(read.first, "A");
  EXPECT_EQ(read.second->surrounding_counters, (std::vector<int>{0, 1}));
  EXPECT_EQ(read.second->to_matrix(), (Rows{{1, 0, 0, 0, 0, 0}, {0, 1, 0, 0, 0, 1}}));
  delete read.second;
  std::pair<std::string, IndexFunction*> scalar = IndexFunction::from_Sage(new SgVarRefExp(at, "x"), {});
  EXPECT_EQ(scalar.first, "x");
  EXPECT_EQ(scalar.second->size(), 0);
  delete scalar.second;
  SgPointerDerefExp* deref = new SgPointerDerefExp(at, new SgVarRefExp(at, "p"));
  EXPECT_STOP_ON_STDOUT(IndexFunction::from_Sage(deref, {}),
                        "IndexFunction::from_Sage: SgPointerDerefExp unhandled");
  SgDotExp* member = new SgDotExp(at, new SgVarRefExp(at, "s"), new SgVarRefExp(at, "f"));
  EXPECT_STOP_ON_STDOUT(IndexFunction::from_Sage(new SgPntrArrRefExp(at, member, i), {}),
                        "IndexFunction::from_Sage: SgDotExp unhandled");
}

}  // namespace
