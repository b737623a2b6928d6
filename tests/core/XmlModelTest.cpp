// Saving and reloading the model classes: written text, read back, written
// again must be the same text, and the object read back must behave as the
// original in its own observable forms. Then the classes' refusals.

#include <functional>
#include <random>
#include <sstream>

#include "CommandTest.h"
#include "Domain.h"
#include "Expression.h"
#include "FakeEnumeration.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "ModularMapping.h"
#include "Polyhedron.h"
#include "Preprocessor.h"
#include "Program.h"
#include "Rank.h"
#include "Schedule.h"
#include "Statement.h"
#include "Tiling.h"
#include "Xml.h"
#include "XmlTestSupport.h"

namespace {

using XmlModelTest = IJNTest;
using XmlCommandTest = CommandTest;

template <class T>
std::string box(T& p) {
  std::ostringstream out;
  out << p;
  return out.str();
}

// ---- expressions and constraints ----

bool needs_constant_right(operator_t op) {
  return op == DIV || op == MOD || op == POWER || op == FLOOR || op == CEIL;
}

// A random tree over the nine operators and the three leaf kinds, small
// enough for evaluate_int to stay in range; the right operand of a
// division, modulo or power is a small positive constant.
Expression* random_tree(std::mt19937& g, int depth) {
  if (depth == 0 || g() % 4 == 0) {
    switch (g() % 3) {
      case 0: return new Expression(static_cast<int>(g() % 7) - 3);
      case 1: return Expression::from_counter_rank(static_cast<int>(g() % 2));
      default: return new Expression(std::string("N"));
    }
  }
  operator_t op = static_cast<operator_t>(g() % 9);
  Expression* l = random_tree(g, depth - 1);
  Expression* r = needs_constant_right(op) ? new Expression(1 + static_cast<int>(g() % 2)) : random_tree(g, depth - 1);
  Expression* e = new Expression(op, l, r);
  delete l;
  delete r;
  return e;
}

TEST_F(XmlModelTest, RandomExpressionsRoundTrip) {
  std::mt19937 g(7);
  for (int k = 0; k < 150; k++) {
    Expression* e = random_tree(g, 3);
    Expression* back = round_trip(*e);
    EXPECT_TRUE(*back == *e) << text(e);
    for (int point = 0; point < 5; point++) {
      std::map<int, int> counters = {{0, static_cast<int>(g() % 5) - 2}, {1, static_cast<int>(g() % 5) - 2}};
      std::map<int, int> parameters = {{0, static_cast<int>(g() % 5) - 2}};
      EXPECT_EQ(back->evaluate_int(counters, parameters), e->evaluate_int(counters, parameters)) << text(e);
    }
    delete back;
    delete e;
  }
  Expression row(std::vector<int>{2, -1, 3, 5});
  Expression* back = round_trip(row);
  EXPECT_EQ(back->has_vector, 1);
  EXPECT_EQ(back->vec, row.vec);
  delete back;
}

TEST_F(XmlModelTest, ConstraintsOfEveryPredicate) {
  Expression* i = Expression::from_counter_rank(0);
  Expression n("N");
  for (predicate_t pred : {LESS, LESS_EQ, GREATER, GREATER_EQ, EQ}) {
    Inequation c(pred, i, &n);
    Inequation* back = round_trip(c);
    EXPECT_TRUE(*back == c);
    EXPECT_EQ(back->to_matrix(), c.to_matrix());
    delete back;
  }
  delete i;
}

// ---- polyhedra ----

void expect_same_polyhedron(Polyhedron& p) {
  Polyhedron* back = round_trip(p);
  EXPECT_EQ(box(*back), box(p));
  EXPECT_EQ(back->to_matrix(), p.to_matrix());
  delete back;
}

TEST_F(XmlModelTest, PolyhedraRoundTrip) {
  Polyhedron universe;
  expect_same_polyhedron(universe);
  Expression* i = Expression::from_counter_rank(0);
  Polyhedron many;
  for (int k = 0; k < 13; k++) {
    Inequation* c = *i >= k;
    many.add_constraint(c);
    delete c;
  }
  expect_same_polyhedron(many);
  delete i;
  // The cache of the rows constructor keeps its equality rows as written.
  Polyhedron cached(std::vector<std::vector<int>>{{0, 1, 0, 0, -3}, {1, 0, 1, 1, 0}});
  std::vector<std::vector<int>> rows = cached.matrix;
  Polyhedron* back = round_trip(cached);
  EXPECT_EQ(back->matrix, rows);
  delete back;
}

// ---- mappings ----

void expect_same_mapping(ModularMapping& m, IndexFunction& f) {
  ModularMapping* back = round_trip(m);
  EXPECT_EQ(back->to_string(), m.to_string());
  EXPECT_EQ(back->size(), m.size());
  IndexFunction* applied = m.apply(&f);
  IndexFunction* applied_back = back->apply(&f);
  std::ostringstream original, read;
  applied->print_code(original);
  applied_back->print_code(read);
  EXPECT_EQ(read.str(), original.str());
  delete applied;
  delete applied_back;
  delete back;
}

TEST_F(XmlModelTest, ModularMappingsOfTheThreeKinds) {
  std::vector<std::vector<int>> A = {{1, 1}, {0, 1}};
  IndexFunction f(std::vector<int>{0, 1});
  ModularMapping linear(A, 0);
  expect_same_mapping(linear, f);
  ModularMapping integer(A, std::vector<int>{4, 8});
  expect_same_mapping(integer, f);
  Expression n("N");
  Expression two(2);
  ModularMapping symbolic(A, std::vector<Expression*>{&n, &two});
  expect_same_mapping(symbolic, f);
  // Bounded over 1 <= N <= 9, the symbolic moduli stay beside the integer
  // ones and are saved with them.
  Polyhedron context;
  for (Inequation* c : {n >= 1, n <= 9}) {
    context.add_constraint(c);
    delete c;
  }
  ModularMapping::upper_bound(&symbolic, &context);
  expect_same_mapping(symbolic, f);
  ModularMapping incremented(A, std::vector<Expression*>{&n, &two});
  ModularMapping::increment(&incremented);
  ModularMapping::upper_bound_inc(&incremented, &context);
  EXPECT_EQ(incremented.b, (std::vector<int>{10, 3}));
  expect_same_mapping(incremented, f);
  incremented.keep_last(1);
  IndexFunction f0(std::vector<int>{0});
  expect_same_mapping(incremented, f0);
  // Rows of A of different lengths make no mapping the reader would take.
  ModularMapping ragged(std::vector<std::vector<int>>{{1, 0}, {1}}, 0);
  EXPECT_STOP_ON_STDERR(written(ragged), "ModularMapping: one modulus per row of A expected");
}

// ---- statements and programs ----

std::string scop(const std::string& body) {
  return "int N;\nint i;\ndouble a[100];\ndouble b[100];\ndouble x;\ndouble y;\nvoid k() {\n"
         "#pragma begin_scop\n  for (i = 0; i < N; i++) {\n#pragma schedule[i]\n" +
         body + "\n  }\n#pragma end_scop\n}\n";
}

std::string c_text(const Statement& s) {
  std::ostringstream out;
  s.print(out);
  return out.str();
}

std::string iscc_text(const Statement& s) {
  std::ostringstream out;
  s.print_iscc(out);
  return out.str();
}

TEST_F(XmlCommandTest, StatementsRoundTrip) {
  std::string twelve = "a[i] = b[0]";
  for (int k = 1; k < 12; k++) twelve += " + b[" + std::to_string(k) + "]";
  for (std::string body : {twelve + ";", std::string("a[i] = i;"), std::string("a[i] = sqrt(b[i]);"),
                           std::string("a[i] = (double)b[i] / N;"), std::string("a[i] = x < y ? x : -y;"),
                           std::string("x = 1e+5 + b[i];")}) {
    Program* p = model_of(scop(body));
    for (Statement* s : p->statement) {
      Statement* back = round_trip(*s);
      EXPECT_EQ(c_text(*back), c_text(*s));
      EXPECT_EQ(iscc_text(*back), iscc_text(*s));
      delete back;
    }
    delete p;
  }
  // Without a tree, a single read is the right-hand side.
  Program* p = model_of(scop("a[i] = b[i];"));
  Statement* s = p->statement.back();
  delete s->rhs;
  s->rhs = nullptr;
  EXPECT_NE(written(*s).find("<rhs></rhs>"), std::string::npos);
  Statement* back = round_trip(*s);
  EXPECT_EQ(back->rhs, nullptr);
  EXPECT_EQ(c_text(*back), "a[i]=b[i]");
  delete back;
  delete p;
}

// The element `tag` of `text` (its first one) without content.
std::string emptied(std::string text, const std::string& tag) {
  size_t from = text.find("<" + tag + ">") + tag.size() + 2;
  return text.erase(from, text.find("</" + tag + ">") - from);
}

// A statement has no C text or domain without its domain and its write:
// none is written, nor read.
TEST_F(XmlCommandTest, StatementsWithoutDomainOrWriteAreRefused) {
  Statement bare(3);
  EXPECT_STOP_ON_STDERR(written(bare),
                        "Statement::print_xml: a statement without iteration domain or write has no XML form");
  Program* p = model_of(scop("a[i] = a[i] + b[i];"));
  std::string text = written(*p);
  EXPECT_STOP_ON_STDERR(read_back<Program>(emptied(text, "iteration_domain")),
                        "Statement::Statement(Xml): null iteration_domain");
  EXPECT_STOP_ON_STDERR(read_back<Program>(emptied(text, "lhs_index")), "Statement::Statement(Xml): null lhs_index");
  delete p;
}

TEST_F(XmlCommandTest, ProgramsKeepEveryStringByteForByte) {
  Program* p = model_of("int N;\nint i;\nint a[10];\nint n = 5, m;\nvoid k() {\n#pragma begin_scop\n"
                        "  for (i = 0; i < N; i++) {\n#pragma schedule[i]\n a[i] = n;\n  }\n#pragma end_scop\n}\n");
  std::string every_byte;
  for (int c = 0; c < 256; c++) every_byte += static_cast<char>(c);
  p->variable_declaration.push_back(every_byte);
  p->declared_names.push_back({every_byte, ""});
  p->kernel_entry = {"int outer_N = N / block_size;", every_byte};
  p->functions = {{"twice", "int twice(int x) {\n  return 2 * x;\n}"}, {every_byte, every_byte}};
  std::string text = written(*p);
  EXPECT_NE(text.find("int a'09110'093;"), std::string::npos);
  Program* back = round_trip(*p);
  EXPECT_EQ(back->variable_declaration, p->variable_declaration);
  EXPECT_EQ(back->declared_names, p->declared_names);
  EXPECT_EQ(back->kernel_entry, p->kernel_entry);
  EXPECT_EQ(back->functions, p->functions);
  ASSERT_EQ(back->statement.size(), p->statement.size());
  for (size_t k = 0; k < p->statement.size(); k++)
    EXPECT_EQ(c_text(*back->statement[k]), c_text(*p->statement[k]));
  delete back;
  delete p;
}

// ---- the registry ----

std::string saved_registry() {
  std::ostringstream out;
  rank_print_xml(out, "x");
  return out.str();
}

void read_registry(const std::string& text) {
  const Xml root = document_of(text);
  rank_from_xml(root["x"]);
}

// The writer covers the twelve globals: equal texts are equal registries.
TEST_F(XmlModelTest, TheRegistryIsRestoredExactly) {
  std::pair<int, Expression*> fresh = new_counter("t");
  delete fresh.second;
  get_new_counter_parameter(2);
  get_new_counter(std::string("c"));
  get_new_parameter("p");
  alive_parameter_rank["q"] = {1, 4};
  parameter_string[0] = "N";
  std::string text = saved_registry();
  int counters = last_counter_rank;
  clear_registries();
  read_registry(text);
  EXPECT_EQ(saved_registry(), text);
  read_registry(text);
  EXPECT_EQ(saved_registry(), text);
  create_counter_rank("later");
  EXPECT_EQ(get_counter_rank("later"), counters);
}

TEST_F(XmlModelTest, ReadingTheRegistryReplacesTheProcessOne) {
  clear_registries();
  register_names({"i", "j"}, {});
  std::string text = saved_registry();
  clear_registries();
  register_names({"x"}, {});
  read_registry(text);
  EXPECT_EQ(counter_rank, (std::map<std::string, int>{{"i", 0}, {"j", 1}}));
  create_counter_rank("k");
  EXPECT_EQ(get_counter_rank("k"), 2);
}

// ---- tilings ----

TEST_F(XmlModelTest, HandFilledTilingRoundTrip) {
  Tiling t;
  t.is_tiled = {1, 0};
  t.tile_size = {{4}, {}};
  t.tile_hyperplans = {new IndexFunction(std::vector<int>{0}), new IndexFunction()};
  t.schedule = {new IndexFunction(std::vector<int>{0, 1}), new IndexFunction(std::vector<int>{1})};
  t.tile_dimensions = {{0}, {}};
  t.tile_counter = {{1, Expression::from_counter_rank(1)}};
  Expression* i = Expression::from_counter_rank(0);
  Inequation* c = *i >= 0;
  t.tile = {new Polyhedron(c), nullptr};
  delete c;
  t.tile_vertices = {{{{0, new Expression(4)}, {1, i}}}, {}};
  t.is_constant_tiling = {1, 0};
  t.tile_group = {0, -1};
  Tiling* back = round_trip(t);
  EXPECT_EQ(back->nb_statements, 2);
  EXPECT_EQ(back->tile_counter_set, std::set<int>{1});
  EXPECT_EQ(back->tile[1], nullptr);
  EXPECT_EQ(back->tile_vertices.size(), 2u);
  EXPECT_TRUE(back->is_constant_tiling.empty());
  EXPECT_TRUE(back->tile_group.empty());
  delete back;
}

// ---- real objects from the front end and the tiling pass ----

struct SavedRun {
  Program* input = nullptr;
  Tiling* tiling = nullptr;
  std::pair<Program*, std::vector<Schedule*>> result;

  explicit SavedRun(const std::string& c_text) {
    input = model_of(c_text);
    stdout_of([&] { tiling = extract_extended_tiling(input); });
    stdout_of([&] { result = tiling->apply(input); });
  }
  ~SavedRun() {
    delete result.first;
    del(result.second);
    delete tiling;
    delete input;
  }
};

std::string script(const Program& p, const std::vector<Schedule*>& schedules) {
  std::ostringstream out;
  p.print_iscc(out);
  print_iscc(out, schedules);
  return out.str();
}

std::vector<std::string> c_texts(const Program& p) {
  std::vector<std::string> texts;
  for (Statement* s : p.statement) texts.push_back(c_text(*s));
  return texts;
}

std::string nest(const std::string& directives) {
  return "int N;\nint M;\nint a[64][64];\nint b[64];\nvoid k() {\n  int i, j;\n#pragma begin_scop\n"
         "  for (i = 0; i < N; i++)\n    for (j = 0; j < M; j++) {\n" +
         directives + "\n    }\n#pragma end_scop\n}\n";
}

const char* const tiled_programs[] = {
    "#pragma tile_group[0]\n#pragma tile_size[4][8]\n#pragma tile_hyperplans[i][j]\n"
    "#pragma schedule[__T][__T][i][j][0]\n a[i][j] = a[i][j] + b[j];\n"
    "#pragma schedule[i][j][0][0][1]\n b[j] = 2 * b[j];",
    "#pragma tile_group[0]\n#pragma tile_ratio[1][2]\n#pragma tile_hyperplans[i][j]\n"
    "#pragma schedule[__T][__T][i][j]\n a[i][j] = a[i][j] + i;",
    "#pragma tile_group[0]\n#pragma tile_lattice[1][1][0][1]\n"
    "#pragma tile_shape[i][block_size - 1 - i][j][block_size - 1 - j]\n#pragma schedule[__T][__T][j][i]\n"
    " a[i][j] = a[i][j] + i;",
};

TEST_F(XmlCommandTest, TiledProgramsReloadInAFreshRegistry) {
  for (const char* directives : tiled_programs) {
    SetUp();
    SavedRun run(nest(directives));
    Program& tiled = *run.result.first;
    std::ostringstream document;
    rank_print_xml(document, "registry");
    tiled.print_xml(document, "program");
    print_xml(document, "schedules", run.result.second);
    run.tiling->print_xml(document, "tiling");
    std::string original_script = script(tiled, run.result.second);
    std::vector<std::string> original_texts = c_texts(tiled);
    size_t unions = 0;
    for (Statement* s : tiled.statement) unions += s->iteration_domain->is_domain();

    clear_registries();
    const Xml root = document_of(document.str());
    rank_from_xml(root["registry"]);
    Program program(root["program"]);
    std::vector<Schedule*> schedules;
    from_xml(schedules, root["schedules"]);
    Tiling tiling(root["tiling"]);

    EXPECT_EQ(script(program, schedules), original_script) << directives;
    EXPECT_EQ(c_texts(program), original_texts);
    EXPECT_EQ(program.variable_declaration, tiled.variable_declaration);
    EXPECT_EQ(program.kernel_entry, tiled.kernel_entry);
    EXPECT_EQ(program.functions, tiled.functions);
    EXPECT_EQ(program.declared_names, tiled.declared_names);
    size_t unions_back = 0;
    for (Statement* s : program.statement) unions_back += s->iteration_domain->is_domain();
    EXPECT_EQ(unions_back, unions);
    EXPECT_EQ(tiling.nb_statements, static_cast<int>(run.tiling->is_tiled.size()));
    std::ostringstream again;
    tiling.print_xml(again, "tiling");
    std::ostringstream original_tiling;
    run.tiling->print_xml(original_tiling, "tiling");
    EXPECT_EQ(again.str(), original_tiling.str());
    del(schedules);
  }
}

// ---- refusals ----

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST_F(XmlModelTest, InvalidFieldsAreRefused) {
  Expression* i = Expression::from_counter_rank(0);
  Expression one(1);
  Expression sum(PLUS, i, &one);
  std::string text = written(sum);
  EXPECT_STOP_ON_STDERR(read_back<Expression>(replaced(text, "<op>0</op><fg>", "<op>42</op><fg>")),
                        "Expression::Expression(Xml): bad op 42");
  EXPECT_STOP_ON_STDERR(read_back<Expression>(replaced(written(one), "<is_counter>0", "<is_counter>1")),
                        "Expression::Expression(Xml): a leaf must be exactly one of is_val, is_counter, is_parameter");
  EXPECT_STOP_ON_STDERR(read_back<Expression>(replaced(written(*i), "<counter_rank>0", "<counter_rank>7")),
                        "Expression::Expression(Xml): counter rank 7 not registered");
  EXPECT_STOP_ON_STDERR(read_back<Expression>(replaced(written(one), "<is_val>1", "<is_val>0")),
                        "Expression::Expression(Xml): a leaf must be exactly one of is_val, is_counter, is_parameter");
  Expression row(std::vector<int>{1, 0, 0, 0});
  EXPECT_STOP_ON_STDERR(read_back<Expression>(replaced(written(row), "<item3>0</item3>", "")),
                        "Expression::Expression(Xml): vec does not hold _nb_counters + _nb_parameters + 1 entries");
  EXPECT_STOP_ON_STDERR(read_back<Expression>(replaced(text, "<fg>", "<gf>")), "Xml::read[]: node fg not found");
  Inequation c(GREATER_EQ, i, &one);
  EXPECT_STOP_ON_STDERR(read_back<Inequation>(replaced(written(c), "<pred>3", "<pred>9")),
                        "Inequation::Inequation(Xml): bad pred 9");
  ModularMapping m(std::vector<std::vector<int>>{{1, 0}, {0, 1}}, std::vector<int>{2, 3});
  EXPECT_STOP_ON_STDERR(read_back<ModularMapping>(replaced(written(m), "<item1>1</item1></item1></A>", "</item1></A>")),
                        "ModularMapping::ModularMapping(Xml): A is not rectangular");
  EXPECT_STOP_ON_STDERR(read_back<ModularMapping>(replaced(written(m), "<item1>3</item1>", "")),
                        "ModularMapping::ModularMapping(Xml): b must hold one entry per row of A under its flag, "
                        "else none");
  EXPECT_STOP_ON_STDERR(read_back<Expression>("<x><is_leaf><a>1</a></is_leaf></x>"), "Xml::int_value: not a leaf");
  EXPECT_STOP_ON_STDERR(read_registry(replaced(saved_registry(), "<last_parameter_rank>1", "<last_parameter_rank>0")),
                        "rank_from_xml: parameter rank 0 not registered");
  Rhs value(std::string("1"));
  EXPECT_STOP_ON_STDERR(read_back<Rhs>(replaced(written(value), "<is_op>0", "<is_op>1")),
                        "Rhs::Rhs(Xml): exactly one of is_value, is_an_array, is_op must be set");
  Tiling t;
  t.is_tiled = {0};
  EXPECT_STOP_ON_STDERR(read_back<Tiling>(written(t)),
                        "Tiling::Tiling(Xml): tile_size must hold one entry per is_tiled entry");
  Polyhedron member;
  Domain d(std::vector<Polyhedron*>{&member});
  EXPECT_STOP_ON_STDERR(read_back<Polyhedron>(written(d)),
                        "Polyhedron::Polyhedron(Xml): a union must be read as a Domain");
  FakeEnumeration fake;
  Expression with_fake(PLUS, i, &fake);
  EXPECT_STOP_ON_STDERR(written(with_fake), "Expression::print_xml: an enumeration expression has no XML form");
  delete i;
}

TEST_F(XmlCommandTest, EveryClassNeedsItsFirstField) {
  const std::pair<const char*, std::function<void(const Xml&)>> cases[] = {
      {"is_leaf", [](const Xml& n) { Expression e(n); }},
      {"pred", [](const Xml& n) { Inequation c(n); }},
      {"constraints", [](const Xml& n) { Polyhedron p(n); }},
      {"surrounding_counters", [](const Xml& n) { IndexFunction f(n); }},
      {"schedule", [](const Xml& n) { Schedule s(n); }},
      {"A", [](const Xml& n) { ModularMapping m(n); }},
      {"stmt_rank", [](const Xml& n) { Statement s(n); }},
      {"is_value", [](const Xml& n) { Rhs r(n); }},
      {"nb_counters", [](const Xml& n) { Program p(n); }},
      {"is_tiled", [](const Xml& n) { Tiling t(n); }},
      {"counter_rank", [](const Xml& n) { rank_from_xml(n); }},
  };
  const Xml root = document_of("<x><other>1</other></x>");
  for (const auto& c : cases)
    EXPECT_STOP_ON_STDERR(c.second(root["x"]), std::string("Xml::read[]: node ") + c.first + " not found");
}

}  // namespace
