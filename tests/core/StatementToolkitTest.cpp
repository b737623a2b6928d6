#include <sstream>

#include "Array.h"
#include "CommandTest.h"
#include "Domain.h"
#include "Expression.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "ModularMapping.h"
#include "Operation.h"
#include "PointSets.h"
#include "Polyhedron.h"
#include "PolyhedronBuilders.h"
#include "Program.h"
#include "Rank.h"
#include "Statement.h"
#include "SyntaxTree.h"

namespace {

typedef std::vector<std::vector<int>> Rows;

const std::string kStatementFrame = "[STATEMENT]" + std::string(66, '-');

std::string c_text(const Statement& s) {
  std::ostringstream out;
  out << s;
  return out.str();
}

// What `print` writes on standard error.
template <class F>
std::string stderr_of(F print) {
  testing::internal::CaptureStderr();
  print();
  return testing::internal::GetCapturedStderr();
}

// Counters i, j (ranks 0, 1), parameter N. The statement of rank 1, in the
// loop of i over {0 <= i < N}, is a[i] = b[i] + (c[i] * 2), built piece by
// piece.
class StatementToolkitTest : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    register_names({"i", "j"}, {"N"});
    i = var("i");
    j = var("j");
    n = par("N");
    s = new Statement(1);
    s->add_counter("i");
    Polyhedron* d = poly({*i >= 0, *i < *n});
    s->set_iteration_domain(*d);
    delete d;
    IndexFunction at_i(std::vector<int>{0}, Rows{{1, 0, 0, 0}});
    s->set_lhs("a", at_i);
    s->add_rhs_reference("b", at_i);
    s->add_rhs_reference("c", at_i);
    s->rhs = sum_tree();
  }
  void TearDown() override {
    delete s;
    del(std::vector<Expression*>{i, j, n});
  }

  // b + (c * 2), reads numbered.
  static Rhs* sum_tree() {
    Rhs b("b", 0), c("c", 0), two("2");
    Rhs product(V_SgMultiplyOp, "SgMultiplyOp", {&c, &two});
    Rhs* sum = new Rhs(V_SgAddOp, "SgAddOp", {&b, &product});
    sum->fix_ranks();
    return sum;
  }

  Expression* i;
  Expression* j;
  Expression* n;
  Statement* s;
};

TEST_F(StatementToolkitTest, PiecewiseStatementAndItsDumps) {
  EXPECT_EQ(c_text(*s), "a[i]=b[i]+(c[i]*2)");
  EXPECT_EQ(s->surrounding_counters, std::vector<int>{0});
  EXPECT_EQ(get_array_dim("b"), 1);
  EXPECT_EQ(s->nb_operators(), 2);

  // The debug dump on standard error, each part from its own printer.
  std::string domain = stderr_of([&] { s->iteration_domain->print(); });
  std::string write = stderr_of([&] { s->lhs_index->print(); });
  testing::internal::CaptureStdout();
  std::string dump = stderr_of([&] { s->print(); });
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(dump, kStatementFrame + "\n\n#1\n\n* SURROUNDING COUNTERS\ni{0} \n\n* ITERATION DOMAIN\n" + domain +
                      "\n* LHS\n<a>\n" + write + "\n* RHS\n<b>\n" + write + "\n<c>\n" + write +
                      "\n\n* BACK-END: a[i]=b[i]+(c[i]*2)\n\n");

  EXPECT_EQ(stdout_of([&] { s->print_matrices(); }),
            kStatementFrame +
                "\n\n* SURROUNDING COUNTERS\n0 \n\n* ITERATION DOMAIN\n1  1  0  0  0  \n1  -1  0  1  -1  \n\n\n"
                "* LHS\n<a>\n1  0  0  0  \n\n* RHS\n<b>\n1  0  0  0  \n\n<c>\n1  0  0  0  \n\n\n");

  EXPECT_EQ(stdout_of([&] { s->rhs->print(); }),
            "+\n(\n  b[.]\n,\n  *\n  (\n    c[.]\n  ,\n    value 2\n  ,\n  )\n,\n)\n");
  Rhs call(7, "f", {s->rhs});
  EXPECT_EQ(stdout_of([&] { call.print("> "); }).rfind("> Operator #7\n> (\n>   +\n>   (\n>     b[.]\n", 0), 0u);

  std::ostringstream dpn;
  s->print_dpn(dpn);
  EXPECT_EQ(dpn.str(), "output = input0+(input1*2)");
  std::ostringstream again;
  s->print_dpn(again);  // the inputs are numbered from 0 at every call
  EXPECT_EQ(again.str(), dpn.str());

  // Without a tree: one read is input0, other counts stop; no operator.
  delete s->rhs;
  s->rhs = nullptr;
  EXPECT_EQ(s->nb_operators(), 0);
  EXPECT_STOP_ON_STDOUT(s->print_dpn(std::cout), "Statement::<<: incorrect rhs");
  delete s->rhs_index.back().second;
  s->rhs_index.pop_back();
  std::ostringstream single;
  s->print_dpn(single);
  EXPECT_EQ(single.str(), "output = input0");
  Rhs kindless("x");
  kindless.is_value = 0;
  EXPECT_STOP_ON_STDOUT(kindless.nb_operators(), "Statement::Rhs::nb_operators(): Bad rhs");
  EXPECT_STOP_ON_STDOUT(kindless.print(), "Statement::Rhs::print(): Bad rhs");
}

TEST_F(StatementToolkitTest, ProgramDumps) {
  Program* p = s->to_program();
  ASSERT_EQ(p->statement.size(), 1u);
  EXPECT_EQ(p->statement[0]->stmt_rank, 0);
  EXPECT_EQ(p->nb_counters, 2);
  p->variable_declaration = {"int N;", "double a[9];"};
  const std::string head = "[PROGRAM]" + std::string(68, '=') + "\n\n2 counter(s)\n1 parameter(s)\n\n";
  const std::string tail = std::string(77, '=') + "\n\n";

  std::string dump = stderr_of([&] { p->statement[0]->print(); });
  EXPECT_EQ(stderr_of([&] { p->print(); }), head + dump + tail);
  std::string matrices = stdout_of([&] { p->statement[0]->print_matrices(); });
  EXPECT_EQ(stdout_of([&] { p->print_matrices(); }), head + matrices + tail);
  std::ostringstream text;
  text << *p;
  EXPECT_EQ(text.str(), head + box(s->iteration_domain) + "\na[i]=b[i]+(c[i]*2)" + tail);
  std::ostringstream declarations;
  p->print_variable_declaration(declarations);
  EXPECT_EQ(declarations.str(), "int N;\ndouble a[9];\n");
  EXPECT_EQ(stdout_of([&] { p->backend(); }), "a[i]=b[i]+(c[i]*2)\n");
  delete p;

  // Statements still being built, as Program(n) makes them: a missing
  // domain prints as nothing, a statement without C text stops the run.
  Program empty(1);
  std::ostringstream bare;
  EXPECT_STOP_ON_STDOUT(bare << empty, "Statement::<<: incorrect rhs");
  IndexFunction at_i(std::vector<int>{0}, Rows{{1, 0, 0, 0}});
  empty.statement[0]->set_lhs("a", at_i);
  empty.statement[0]->add_rhs_reference("b", at_i);
  std::ostringstream copy;
  copy << empty;
  EXPECT_EQ(copy.str(), head + "\na[i]=b[i]" + tail);
}

TEST_F(StatementToolkitTest, Instances) {
  // At its own counters: one entry per true counter, 0 off the loops.
  Operation* own = s->instance();
  EXPECT_EQ(own->stmt, 1);
  EXPECT_EQ(own->surrounding_counters, std::vector<int>{0});
  ASSERT_EQ(own->point->size(), 2);
  EXPECT_TRUE(own->point->index_mapping[0]->is__counter(0));
  EXPECT_TRUE(own->point->index_mapping[1]->is_value(0));
  EXPECT_EQ(own->is_full_operation, 0);
  delete own;

  std::pair<Operation*, std::map<int, int>> same = s->instance(0);
  EXPECT_EQ(same.second, (std::map<int, int>{{0, 0}}));
  EXPECT_EQ(get_nb_counters(), 2);
  del(same.first->mapping);
  delete same.first;

  // In fresh counters: registered once, shared by every call with the same k.
  std::pair<Operation*, std::map<int, int>> fresh = s->instance(2);
  int k = get_counter_rank("new_counter_0_2");
  EXPECT_EQ(fresh.second, (std::map<int, int>{{0, k}}));
  Operation* op = fresh.first;
  EXPECT_EQ(op->is_full_operation, 1);
  EXPECT_EQ(op->surrounding_counters, std::vector<int>{0});
  EXPECT_TRUE(op->point->index_mapping[0]->is__counter(k));
  EXPECT_TRUE(op->mapping.at(0)->is__counter(k));
  std::ostringstream text;
  text << *op;
  EXPECT_EQ(text.str(), "S1,[new_counter_0_2][0]: \na[new_counter_0_2] = b[new_counter_0_2] c[new_counter_0_2] \n/\n"
                        "| new_counter_0_2 >= 0\n| new_counter_0_2 < N\n\\\n\n");
  std::pair<Operation*, std::map<int, int>> twin = s->instance(2);
  EXPECT_EQ(twin.second, fresh.second);
  EXPECT_EQ(get_nb_counters(), 3);
  for (Operation* o : {fresh.first, twin.first}) {
    del(o->mapping);
    delete o;
  }
  // The statement itself is unchanged.
  EXPECT_EQ(c_text(*s), "a[i]=b[i]+(c[i]*2)");

  // Counters turned into fresh parameters.
  std::pair<Polyhedron*, Operation*> parametrized = s->parametrized_instance();
  int q = get_parameter_rank("counter_0_number_1");
  EXPECT_EQ(box(parametrized.first), "/\n| counter_0_number_1 >= 0\n| counter_0_number_1 < N\n\\\n");
  EXPECT_EQ(parametrized.second->is_parametrized, 1);
  EXPECT_TRUE(parametrized.second->point->index_mapping[0]->is__parameter(q));
  EXPECT_TRUE(parametrized.second->mapping.at(0)->is__parameter(q));
  del(parametrized.second->mapping);
  delete parametrized.second;
  delete parametrized.first;
}

TEST_F(StatementToolkitTest, PointsCoverExtraSurroundingCounters) {
  create_extra_counter_rank("t");  // rank 2, beyond the true counters
  s->surrounding_counters = {2, 0};
  Operation* own = s->instance();
  ASSERT_EQ(own->point->size(), 3);
  EXPECT_TRUE(own->point->index_mapping[2]->is__counter(2));
  IndexFunction* filtered = own->filtered_point();
  EXPECT_EQ(filtered->size(), 2);
  delete filtered;
  delete own;
  std::pair<Operation*, std::map<int, int>> fresh = s->instance(1);
  EXPECT_EQ(fresh.first->point->size(), 3);
  del(fresh.first->mapping);
  delete fresh.first;
}

TEST_F(StatementToolkitTest, Rewritings) {
  // Storage mappings replace the accesses of their array only.
  ModularMapping halves({{1}}, std::vector<int>{2});
  s->apply("b", &halves);
  s->apply("", &halves);
  EXPECT_EQ(c_text(*s), "a[i]=b[i%2]+(c[i]*2)");
  Statement* renamed = s->counters_to_counters({{0, 1}});
  EXPECT_EQ(c_text(*renamed), "a[j]=b[j%2]+(c[j]*2)");
  EXPECT_EQ(renamed->surrounding_counters, std::vector<int>{1});
  EXPECT_EQ(renamed->stmt_rank, 1);
  EXPECT_EQ(box(renamed->iteration_domain), "/\n| j >= 0\n| j < N\n\\\n");
  EXPECT_EQ(c_text(*s), "a[i]=b[i%2]+(c[i]*2)");
  delete renamed;

  s->substitute_arrays({{"b", "B"}, {"", "Z"}, {"c", "C"}});
  EXPECT_EQ(c_text(*s), "a[i]=B[i%2]+(C[i]*2)");
  EXPECT_EQ(stdout_of([&] { s->rhs->print(); }).rfind("+\n(\n  B[.]\n", 0), 0u);
  EXPECT_EQ(s->get_read("C", 0), s->rhs_index.back().second);
  EXPECT_STOP_ON_STDOUT(s->get_read("C", 1), "Statement::get_read: no read with given rank");
  EXPECT_STOP_ON_STDOUT(s->get_read("a", 0), "Statement::get_read: no read with given rank");
}

TEST_F(StatementToolkitTest, ProgramCutsCopiesAndRewritings) {
  Program* p = new Program(3);
  EXPECT_EQ(p->nb_counters, 2);
  EXPECT_EQ(p->nb_parameters, 1);
  EXPECT_EQ(p->statement[2]->stmt_rank, 2);
  // An empty statement has no C text, but says so.
  EXPECT_STOP_ON_STDOUT(c_text(*p->statement[0]), "Statement::<<: incorrect rhs");
  for (int k = 0; k < 3; k++) {
    delete p->statement[k];
    p->statement[k] = s->clone();
    p->statement[k]->stmt_rank = k;
  }
  p->statement[1]->surrounding_counters = {0, 1};
  p->statement[2]->surrounding_counters = {1};
  p->variable_declaration = {"int N;"};

  EXPECT_EQ(Statement::common_nest(0, 1, p), std::vector<int>{0});
  EXPECT_TRUE(s->common_nest(0, 2, p).empty());
  EXPECT_STOP_ON_STDOUT(Statement::common_nest(0, 3, p), "Statement::common_nest: no statement 3");
  EXPECT_STOP_ON_STDOUT(Statement::common_nest(-1, 0, p), "Statement::common_nest: no statement -1");

  Program* twice = p->restrict_to_statements({1, 1});
  ASSERT_EQ(twice->statement.size(), 2u);
  EXPECT_EQ(twice->statement[0]->stmt_rank, 0);
  EXPECT_EQ(twice->statement[1]->stmt_rank, 1);
  EXPECT_EQ(twice->statement[1]->surrounding_counters, (std::vector<int>{0, 1}));
  EXPECT_NE(twice->statement[0], twice->statement[1]);
  EXPECT_TRUE(twice->variable_declaration.empty());
  Program* last = p->restrict_to_statement(2);
  EXPECT_EQ(last->statement[0]->surrounding_counters, std::vector<int>{1});
  EXPECT_STOP_ON_STDOUT(p->restrict_to_statement(3), "Program::restrict_to_statements: no statement 3");
  EXPECT_STOP_ON_STDOUT(p->restrict_to_statements({0, -2}), "Program::restrict_to_statements: no statement -2");

  Program* copy = p->clone();
  EXPECT_EQ(copy->statement.size(), 3u);
  EXPECT_NE(copy->statement[0], p->statement[0]);
  EXPECT_TRUE(copy->variable_declaration.empty());

  // Whole-program rewritings.
  ModularMapping halves({{1}}, std::vector<int>{2});
  ModularMapping thirds({{1}}, std::vector<int>{3});
  copy->apply({{"a", &halves}, {"c", &thirds}});
  EXPECT_EQ(c_text(*copy->statement[2]), "a[i%2]=b[i]+(c[i%3]*2)");
  copy->substitute_arrays({{"a", "A"}});
  EXPECT_EQ(c_text(*copy->statement[0]), "A[i%2]=b[i]+(c[i%3]*2)");
  Polyhedron* context = poly({*n >= 4});
  copy->add_context(context);
  EXPECT_EQ(copy->statement[1]->iteration_domain->size(), 3);
  delete context;

  std::vector<Statement*> loose{s->clone(), s->clone()};
  del(loose);
  for (Program* q : {p, twice, last, copy}) delete q;
}

TEST_F(StatementToolkitTest, CounterReadsStayInPlace) {
  Program* p = model_of(
      "int N;\nint i;\ndouble a[9];\ndouble b[9];\nvoid k() {\n#pragma begin_scop\n"
      "  for (i = 0; i < N; i++)\n    a[i] = b[i] + i;\n#pragma end_scop\n}\n");
  Statement* t = p->statement[0];
  ASSERT_EQ(t->rhs_index.size(), 2u);
  EXPECT_EQ(c_text(*t), "a[i]=b[i]+(i)");
  EXPECT_EQ(t->nb_operators(), 1);
  EXPECT_EQ(stdout_of([&] { t->rhs->print(); }), "+\n(\n  b[.]\n,\n  counter\n,\n)\n");
  std::ostringstream dpn;
  t->print_dpn(dpn);
  EXPECT_EQ(dpn.str(), "output = input0+(i)");
  EXPECT_STOP_ON_STDOUT(t->get_read("", 0), "Statement::get_read: no read with given rank");

  create_counter_rank("k");
  Statement* renamed = t->counters_to_counters({{get_counter_rank("i"), get_counter_rank("k")}});
  EXPECT_EQ(c_text(*renamed), "a[k]=b[k]+(k)");
  delete renamed;

  std::pair<Operation*, std::map<int, int>> fresh = t->instance(1);
  ASSERT_EQ(fresh.first->rhs_index.size(), 1u);
  EXPECT_EQ(fresh.first->rhs_index.front().first, "b");
  ModularMapping halves({{1}}, std::vector<int>{2});
  t->apply("", &halves);
  t->substitute_arrays({{"", "Z"}});
  EXPECT_EQ(c_text(*t), "a[i]=b[i]+(i)");
  del(fresh.first->mapping);
  delete fresh.first;
  delete p;
}

TEST_F(StatementToolkitTest, UnionDomainsAreRewrittenMemberByMember) {
  Polyhedron* low = poly({*i >= 0, *i <= 4});
  Expression two(2);
  Expression half(FLOOR, n, &two);
  Polyhedron* high = poly({*i >= 6, *i <= half});
  Domain d({low, high});
  s->set_iteration_domain(d);

  Statement* renamed = s->counters_to_counters({{0, 1}});
  ASSERT_TRUE(renamed->iteration_domain->is_domain());
  std::vector<Polyhedron*>& members = static_cast<Domain*>(renamed->iteration_domain)->domain;
  ASSERT_EQ(members.size(), 2u);
  EXPECT_EQ(box(members[0]), "/\n| j >= 0\n| j <= 4\n\\\n");
  EXPECT_EQ(members[1]->get_counters(), std::set<int>{1});
  delete renamed;

  std::pair<Operation*, std::map<int, int>> fresh = s->instance(1);
  ASSERT_TRUE(fresh.first->iteration_domain->is_domain());
  int k = get_counter_rank("new_counter_0_1");
  for (Polyhedron* member : static_cast<Domain*>(fresh.first->iteration_domain)->domain)
    EXPECT_EQ(member->get_counters(), std::set<int>{k});
  del(fresh.first->mapping);
  delete fresh.first;

  std::pair<Polyhedron*, Operation*> parametrized = s->parametrized_instance();
  ASSERT_TRUE(parametrized.first->is_domain());
  EXPECT_EQ(parametrized.first->get_counters(), std::set<int>{});
  del(parametrized.second->mapping);
  delete parametrized.second;
  delete parametrized.first;

  // Each member gets its floor rewritten, and its own matrix.
  Program* p = s->to_program();
  p->eliminate_floor_and_ceil();
  Statement* t = p->statement[0];
  for (Inequation* c : static_cast<Domain*>(t->iteration_domain)->domain[1]->constraints)
    EXPECT_EQ(c->lhs->has_ceil_or_floor() || c->rhs->has_ceil_or_floor(), 0);
  std::string matrices = stdout_of([&] { t->print_matrices(); });
  // Rows [flag | i j new_counter_0_1 | N counter_0_number_1 | constant].
  EXPECT_NE(matrices.find("* ITERATION DOMAIN\n1  1  0  0  0  0  0  \n1  -1  0  0  0  0  4  \nU\n"
                          "1  1  0  0  0  0  -6  \n1  -2  0  0  1  0  0  \n\n\n"),
            std::string::npos);
  delete p;
  delete low;
  delete high;
}

// ---------------------------------------------------------------------------
// Textual order of two instances against enumeration.

// A statement of rank `rank` in the loops of the given counters.
Statement* loop_statement(int rank, std::vector<int> counters) {
  Statement* t = new Statement(rank);
  Polyhedron universe;
  t->set_iteration_domain(universe);
  IndexFunction scalar(counters, Rows{});
  t->set_lhs("x", scalar);
  return t;
}

TEST_F(StatementToolkitTest, TextualOrderOfInstancesAgreesWithEnumeration) {
  create_counter_rank("k");  // rank 2
  // (counters of A, counters of B): one or two shared loops.
  const std::vector<std::pair<std::vector<int>, std::vector<int>>> nests = {
      {{0, 1}, {0, 2}}, {{0, 1}, {0, 1}}, {{0}, {0, 1}}, {{2, 0}, {2, 0}}};
  for (const auto& nest : nests)
    for (int a_rank : {0, 1}) {
      Statement* a = loop_statement(a_rank, nest.first);
      Statement* b = loop_statement(1 - a_rank, nest.second);
      std::pair<Operation*, std::map<int, int>> first = a->instance(1);
      std::pair<Operation*, std::map<int, int>> second = b->instance(2);
      std::list<Polyhedron*> pieces = *first.first < *second.first;
      // Every new counter over 0..2; the others 0.
      std::vector<int> fresh;
      for (const auto& m : {first.second, second.second})
        for (const auto& pair : m) fresh.push_back(pair.second);
      Point x(get_nb_counters() + get_nb_parameters(), 0);
      std::vector<int> digits(fresh.size(), 0);
      while (true) {
        for (size_t d = 0; d < fresh.size(); d++) x[fresh[d]] = digits[d];
        // The reference: the common outer loops, then the statement order.
        int order = 0;
        for (size_t c = 0; c < nest.first.size() && c < nest.second.size() && !order; c++) {
          if (nest.first[c] != nest.second[c]) break;
          int u = x[first.second.at(nest.first[c])], v = x[second.second.at(nest.second[c])];
          order = u < v ? -1 : u > v ? 1 : 0;
        }
        bool expected = order < 0 || (order == 0 && a_rank < 1 - a_rank);
        bool found = false;
        for (Polyhedron* piece : pieces) found = found || satisfies(piece->to_matrix(), x);
        EXPECT_EQ(found, expected);
        size_t d = 0;
        while (d < digits.size() && digits[d] == 2) digits[d++] = 0;
        if (d == digits.size()) break;
        ++digits[d];
      }
      del(pieces);
      for (Operation* o : {first.first, second.first}) {
        del(o->mapping);
        delete o;
      }
      delete a;
      delete b;
    }
}

}  // namespace
