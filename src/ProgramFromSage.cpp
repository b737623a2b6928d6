// Model building: one top-down traversal of the syntax tree carries the
// enclosing loop counters and the iteration domain built from the enclosing
// loop bounds and if conditions; every assignment inside the static control
// part becomes a Statement over that domain. Constructs the model has no
// form for stop the run instead of being dropped or mis-modelled. The
// declarations of the whole file are read on the way (InputDeclarations).

#include <algorithm>
#include <iostream>
#include <list>
#include <map>
#include <set>
#include <string>

#include "Expression.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "InputDeclarations.h"
#include "LoopTest.h"
#include "NameUses.h"
#include "Options.h"
#include "Polyhedron.h"
#include "Preprocessor.h"
#include "Program.h"
#include "Rank.h"
#include "SourceLocation.h"
#include "Statement.h"
#include "Stop.h"
#include "SyntaxTree.h"
#include "TruncatedDivision.h"
#include "ValueOutOfRange.h"

int in_scop = 0;
std::vector<Statement*> statement_vec;
std::vector<std::string> var_declaration;
std::vector<std::vector<std::string>> var_declared_names;

namespace {

// The attribute handed down the tree. Each copy owns a clone of the domain,
// so every child (and every statement) works on its own copy.
class ASTInfo {
public:
  std::list<std::string> loop_counters;  // outermost first
  Polyhedron* iteration_domain;          // owned
  int in_for_init = 0;
  SgFunctionDeclaration* function = nullptr;  // the enclosing function, not owned
  bool kernel = false;                        // whether it holds the part
  int outer_controls = 0;  // loops and ifs around the node outside every part

  ASTInfo() : iteration_domain(new Polyhedron()) {}
  ASTInfo(const ASTInfo& other)
      : loop_counters(other.loop_counters),
        iteration_domain(other.iteration_domain->clone()),
        in_for_init(other.in_for_init),
        function(other.function),
        kernel(other.kernel),
        outer_controls(other.outer_controls) {}
  ASTInfo& operator=(const ASTInfo&) = delete;
  ~ASTInfo() { delete iteration_domain; }

  void add_counter(const std::string& name) { loop_counters.push_back(name); }

  // Intersects the domain with the polyhedron of a C condition.
  void add_constraint(SgExpression* condition) {
    Polyhedron* c = Polyhedron::from_Sage(condition);
    intersect(c);
    delete c;
  }

  void intersect(Polyhedron* c) {
    Polyhedron* both = Polyhedron::intersect(iteration_domain, c);
    delete iteration_domain;
    iteration_domain = both;
  }
};

// The text of a node without its trailing ";" and blanks.
std::string text_of(SgNode* node) {
  if (!node) return "";
  std::string text = node->unparseToString();
  while (!text.empty() && (text.back() == ';' || isspace(static_cast<unsigned char>(text.back()))))
    text.pop_back();
  return text;
}

std::string header_text(SgForStatement* loop) {
  std::string init;
  for (SgStatement* s : loop->get_init_stmt()) init += (init.empty() ? "" : ", ") + text_of(s);
  return "for (" + init + "; " + text_of(loop->get_test()) + "; " + text_of(loop->get_increment()) + ")";
}

[[noreturn]] void refuse_statement(SgNode* node) {
  std::string text = node->unparseToString();
  size_t first = text.find_first_not_of(" \t\n");
  size_t last = text.find_last_not_of(" \t\n");
  text = first == std::string::npos ? "" : text.substr(first, last - first + 1);
  stop(std::cout, "Program::from_Sage: unsupported statement in the static control part: " + text);
}

[[noreturn]] void refuse_loop(SgForStatement* loop) {
  stop(std::cout, "Program::from_Sage: unsupported for loop: " + header_text(loop));
}

bool is_variable(SgExpression* e, const std::string& name) {
  SgVarRefExp* v = isSgVarRefExp(e);
  return v && v->get_symbol()->get_name().getString() == name;
}

bool is_one(SgExpression* e) {
  SgIntVal* v = isSgIntVal(e);
  return v && v->get_value() == 1;
}

// c++, ++c, c += 1, c = c + 1 and c = 1 + c are the unit step of counter c.
bool is_unit_step(SgExpression* increment, const std::string& c) {
  if (SgPlusPlusOp* step = isSgPlusPlusOp(increment)) return is_variable(step->get_operand(), c);
  if (SgPlusAssignOp* step = isSgPlusAssignOp(increment))
    return is_variable(step->get_lhs_operand(), c) && is_one(step->get_rhs_operand());
  if (SgAssignOp* step = isSgAssignOp(increment)) {
    SgAddOp* sum = isSgAddOp(step->get_rhs_operand());
    if (!is_variable(step->get_lhs_operand(), c) || !sum) return false;
    SgExpression* l = sum->get_lhs_operand();
    SgExpression* r = sum->get_rhs_operand();
    return (is_variable(l, c) && is_one(r)) || (is_one(l) && is_variable(r, c));
  }
  return false;
}

bool has_side_effect(SgNode* node) {
  if (!node) return false;
  switch (node->variantT()) {
    case V_SgAssignOp: case V_SgPlusAssignOp: case V_SgMinusAssignOp: case V_SgMultAssignOp:
    case V_SgDivAssignOp: case V_SgModAssignOp: case V_SgAndAssignOp: case V_SgIorAssignOp:
    case V_SgXorAssignOp: case V_SgLshiftAssignOp: case V_SgRshiftAssignOp:
    case V_SgPlusPlusOp: case V_SgMinusMinusOp: case V_SgCommaOpExp:
      return true;
    default:
      break;
  }
  for (SgNode* child : node->get_traversalSuccessorContainer())
    if (has_side_effect(child)) return true;
  return false;
}

std::string written_variable(SgExpression* lhs) {
  while (SgPntrArrRefExp* subscript = isSgPntrArrRefExp(lhs)) lhs = subscript->get_lhs_operand();
  SgVarRefExp* base = isSgVarRefExp(lhs);
  return base ? base->get_symbol()->get_name().getString() : "";
}

// Whether `s` is a directive: the rewrite made it an assignment to its
// carrier array.
bool is_directive(SgStatement* s) {
  SgExprStatement* e = isSgExprStatement(s);
  SgAssignOp* assign = e ? isSgAssignOp(e->get_expression()) : nullptr;
  return assign && is_dropped_carrier(written_variable(assign->get_lhs_operand()));
}

// Whether the first statement `s` runs is an assignment: `s` itself, or
// the first statement of its block or of the true branch of its if.
bool starts_with_assignment(SgStatement* s) {
  if (SgIfStmt* branch = isSgIfStmt(s)) return starts_with_assignment(branch->get_true_body());
  if (SgBasicBlock* block = isSgBasicBlock(s)) {
    std::vector<SgStatement*> list = block->get_statements();
    return !list.empty() && starts_with_assignment(list.front());
  }
  return isSgExprStatement(s) && !is_directive(s);
}

// Whether the part is open after `s`, when it was at `inside`.
bool inside_after(SgStatement* s, bool inside) {
  SgPragmaDeclaration* d = isSgPragmaDeclaration(s);
  std::string text = d ? d->get_pragma()->get_pragma() : "";
  return text == "begin_scop" ? true : text == "end_scop" ? false : inside;
}

// The directives of a statement stand ahead of it, one after the other
// (declarations may come between): a directive followed by a loop, or by
// the end of its block or part, belongs to no statement, and the
// extraction, which pairs the directives with the statements in order,
// would give it to another statement or to none. `inside` says whether the
// block starts inside a part.
void check_directives_lead_to_statements(SgBasicBlock* block, bool inside) {
  std::vector<SgStatement*> list = block->get_statements();
  for (size_t k = 0; k < list.size(); k++) {
    inside = inside_after(list[k], inside);
    if (!inside || !is_directive(list[k])) continue;
    size_t n = k + 1;
    while (n < list.size() && isSgVariableDeclaration(list[n])) n++;
    SgStatement* next = n < list.size() ? list[n] : nullptr;
    if (next && (is_directive(next) || starts_with_assignment(next))) continue;
    SgAssignOp* carrier = isSgAssignOp(isSgExprStatement(list[k])->get_expression());
    stop(std::cerr, location_of(list[k]) + ": error: a directive that no statement of the part follows: #pragma " +
                        text_of(carrier->get_lhs_operand()));
  }
}

// The variables named anywhere in `node`.
void collect_names(SgNode* node, std::set<std::string>& names) {
  if (!node) return;
  if (SgVarRefExp* v = isSgVarRefExp(node)) names.insert(v->get_symbol()->get_name().getString());
  for (SgNode* child : node->get_traversalSuccessorContainer()) collect_names(child, names);
}

// The variables named inside the subscripts of `node`.
void collect_subscript_names(SgNode* node, std::set<std::string>& names) {
  if (!node) return;
  if (SgPntrArrRefExp* element = isSgPntrArrRefExp(node)) collect_names(element->get_rhs_operand(), names);
  for (SgNode* child : node->get_traversalSuccessorContainer()) collect_subscript_names(child, names);
}

// floor() and ceil() calls inside the subscripts of `node`: the model
// reads them as its own quotients, which have no C form in the statement
// macros (and C's floor of an int quotient is that truncated quotient).
void refuse_rounding_in_subscripts(SgNode* node, bool in_subscript) {
  if (!node) return;
  if (in_subscript && (is_floor(node) || is_ceil(node)))
    stop(std::cout, "Program::from_Sage: floor or ceil in a subscript unhandled: " + text_of(node));
  if (SgPntrArrRefExp* element = isSgPntrArrRefExp(node)) {
    refuse_rounding_in_subscripts(element->get_lhs_operand(), in_subscript);
    refuse_rounding_in_subscripts(element->get_rhs_operand(), true);
    return;
  }
  for (SgNode* child : node->get_traversalSuccessorContainer()) refuse_rounding_in_subscripts(child, in_subscript);
}

// The tiled code defines a macro S<i> for each statement, which would take
// over a call of a function of that name in a statement's text. A function
// the file does not declare (one of an included header) must leave the
// names the tiled code makes up free too.
void refuse_generated_calls(SgNode* node) {
  if (!node) return;
  if (SgFunctionCallExp* call = isSgFunctionCallExp(node)) {
    std::string callee = call->get_callee_name();
    if (callee.size() > 1 && callee[0] == 'S' &&
        callee.find_first_not_of("0123456789", 1) == std::string::npos)
      stop(std::cout, "Program::from_Sage: the tiled code defines a macro " + callee +
                          " for a statement, which would replace this call: " + call->unparseToString());
    check_generated_family(callee, call);
  }
  for (SgNode* child : node->get_traversalSuccessorContainer()) refuse_generated_calls(child);
}

std::vector<std::string> directives_of(SgNode* node) {
  std::vector<std::string> lines;
  if (SgStatement* s = isSgStatement(node)) lines = s->get_attached_directives();
  std::vector<std::string> trailing;
  if (SgBasicBlock* block = isSgBasicBlock(node)) trailing = block->get_trailing_directives();
  if (SgGlobal* global = isSgGlobal(node)) trailing = global->get_trailing_directives();
  lines.insert(lines.end(), trailing.begin(), trailing.end());
  return lines;
}

// The tree `tree` (taken over) with every read of a counter named in
// `types` cast to its declared type; the result is owned by the caller. The
// tiled loops count in int, while the statement computed with the declared
// type (i * 1000000000 with a long i).
Rhs* with_counter_casts(Rhs* tree, const Statement& s, const std::map<std::string, std::string>& types) {
  if (tree->is_op) {
    for (Rhs*& operand : tree->successor) operand = with_counter_casts(operand, s, types);
    return tree;
  }
  if (!tree->is_an_array || !tree->array_id.empty()) return tree;
  const Expression* counter = nth(tree->array_rank, s.rhs_index).second->index_mapping[0];
  auto type = types.find(get_counter_string(counter->counter_rank));
  if (type == types.end()) return tree;
  Rhs* cast = new Rhs(V_SgCastExp, type->second, {tree});
  delete tree;
  return cast;
}

class MainTraversal : public AstTopDownProcessing<ASTInfo> {
public:
  ~MainTraversal() override {
    for (auto& entry : else_domains) delete entry.second;
  }

  ASTInfo evaluateInheritedAttribute(SgNode* node, ASTInfo a) override {
    check_directives(directives_of(node));
    if (SgBasicBlock* block = isSgBasicBlock(node)) check_directives_lead_to_statements(block, inside_part());
    declarations.directives(directives_of(node));
    if (SgFunctionDeclaration* f = isSgFunctionDeclaration(node)) {
      a.function = f;
      a.kernel = inside_part() || holds_part(f);
      declarations.function(f, a.kernel);
      return a;
    }
    if (SgTypedefDeclaration* t = isSgTypedefDeclaration(node)) {
      declarations.type_name(t, a.function != nullptr);
      return a;
    }
    if (Options::pragma_scop) {
      if (SgPragma* pragma = isSgPragma(node)) {
        read_pragma(pragma->get_pragma(), a);
        return a;
      }
      if (!in_scop) outside_part(node, a);
      if (!in_scop && !isSgVariableDeclaration(node)) return a;
    }
    auto else_part = else_domains.find(node);
    if (else_part != else_domains.end()) {
      delete a.iteration_domain;
      a.iteration_domain = else_part->second->clone();
    }
    at_line(node, [&] { model(node, a); });
    return a;
  }

private:
  // Runs the work on node: a value of its bounds, conditions or subscripts
  // that the int rows of the model cannot hold refuses the input at its line.
  template <typename Work>
  static void at_line(SgNode* node, Work work) {
    try {
      work();
    } catch (const ValueOutOfRange& e) {
      stop(std::cerr, out_of_range_message(location_of(node), e));
    } catch (const PolylibOverflow& e) {
      stop(std::cerr, out_of_range_message(location_of(node), e));
    }
  }

  // Adds what node says to the model: a statement, a loop's bounds, a
  // condition, a declaration.
  void model(SgNode* node, ASTInfo& a) {
    switch (node->variantT()) {
      case V_SgAssignOp: assignment(isSgAssignOp(node), a); break;
      case V_SgExprStatement: expression_statement(isSgExprStatement(node), a); break;
      case V_SgForStatement: where = node; in_directive = false; loop(isSgForStatement(node), a); break;
      case V_SgForInitStatement: a.in_for_init = 1; break;
      case V_SgIfStmt: branch(isSgIfStmt(node), a); break;
      case V_SgVarRefExp: use(isSgVarRefExp(node), a); break;
      case V_SgVariableDeclaration: declaration(isSgVariableDeclaration(node), a); break;
      case V_SgWhileStmt: case V_SgDoWhileStmt: case V_SgReturnStmt: case V_SgBreakStmt:
      case V_SgContinueStmt:
        refuse_statement(node);
      default:
        break;
    }
  }

  // Conditions of for and if statements: expression statements that are
  // no statement of the program.
  std::set<SgNode*> conditions;
  // The increments of the loops: a step c = c + 1 is no statement either.
  std::set<SgNode*> increments;
  // Domain of each else branch met, owned.
  std::map<SgNode*, Polyhedron*> else_domains;

  void read_pragma(const std::string& text, const ASTInfo& a) {
    if (text == "begin_scop") {
      check_part_start(a);
      if (!in_scop) parts++;
      in_scop = 1;
      part_started = true;
    } else if (text == "end_scop") {
      in_scop = 0;
      ended_in = a.function;
      between_parts = nullptr;
    } else {
      stop(std::cout, "Program::from_Sage: unknown pragma: " + text);
    }
  }
  bool part_started = false;  // whether a begin_scop was met
  int parts = 0;              // the parts met so far
  SgFunctionDeclaration* ended_in = nullptr;  // the function of the last end_scop, not owned
  SgNode* between_parts = nullptr;  // its first statement after that end_scop, not owned

  // tiled_kernel() runs the parts once each, one after the other: a part
  // inside a loop or an if, or a statement between two parts of one
  // function, would have run otherwise.
  void check_part_start(const ASTInfo& a) const {
    if (a.outer_controls)
      stop(std::cout, "Program::from_Sage: a static control part inside a loop or an if statement, which "
                      "tiled_kernel() would run once, unconditionally");
    if (between_parts && a.function == ended_in)
      stop(std::cout, "Program::from_Sage: a statement between two static control parts, which tiled_kernel() "
                      "runs one after the other: " + text_of(between_parts));
  }

  void outside_part(SgNode* node, ASTInfo& a) {
    switch (node->variantT()) {
      case V_SgForStatement: case V_SgIfStmt: case V_SgWhileStmt: case V_SgDoWhileStmt:
        a.outer_controls++;
        break;
      case V_SgExprStatement: case V_SgReturnStmt: case V_SgBreakStmt: case V_SgContinueStmt:
        break;
      default:
        return;
    }
    if (!between_parts && a.function == ended_in) between_parts = node;
  }

  static bool inside_part() { return !Options::pragma_scop || in_scop; }

public:
  InputDeclarations declarations;

  // The part takes every variable of its loop bounds, conditions,
  // subscripts and directives for a constant: the model reads it as one
  // value for the whole part, and the split parameters are computed from it
  // once, on entry of the tiled kernel. A statement of the part writing one
  // is refused (loop counters are checked on their own).
  void check_constant_writes() const {
    for (const auto& write : writes)
      if (constants.count(write.first) && !loop_counter_names.count(write.first))
        stop(std::cout, "Program::from_Sage: " + write.first +
                            " is written in the static control part, which takes it for a constant of its loop "
                            "bounds, conditions, subscripts and directives: " + text_of(write.second));
  }

  // The original initialises its local arrays on every call, the tiled
  // code once, at program start: the parts may only read them.
  void check_array_initialisations() const {
    const auto& once = declarations.arrays_initialised_once();
    for (const auto& write : writes) {
      auto array = once.find(write.first);
      if (array != once.end())
        stop(std::cerr, array->second.location + ": error: " + write.first +
                            " is initialised once in the tiled code, not on every call, and a static control "
                            "part writes it: " + array->second.text);
    }
  }

  // The model reads every such constant as an integer size parameter, and
  // the tiled code splits it with int arithmetic: a double would be
  // truncated there (and compared as a double in the loops), an array
  // compared as an address. Only int variables may serve.
  void check_constant_types() const {
    for (const std::string& name : constants) {
      if (loop_counter_names.count(name)) continue;
      std::string text = declarations.table().non_int_declaration(name);
      if (!text.empty())
        stop(std::cout, "Program::from_Sage: " + name +
                            " stands in a loop bound, condition, subscript or directive, which takes int "
                            "variables only; it is declared '" + text + "'");
    }
  }

  // Every loop counter of the part must be read and written only inside its
  // own loops: the generated loops keep their counters to themselves, so the
  // value a counter holds elsewhere (the bound after the loop, or whatever it
  // held before) is lost in the tiled code. Checked once all loops are known.
  void check_counter_uses() const {
    for (const CounterUse& u : uses)
      if (loop_counter_names.count(u.name) && !u.enclosing.count(u.name))
        stop(std::cout, "Program::from_Sage: loop counter used outside its loops: " + u.name +
                            " in " + text_of(u.where));
  }

  // The model reads the statements' own text only: the functions they call
  // (and those the initialisers run on entry call) run as written, and a
  // pointer reaches what it points to unseen. Such a function must not read
  // a loop counter, which the tiled loops replace by counters of their own,
  // nor write a counter, a constant of the part or block_size, which the
  // tiled loops read; a pointer to one of these, taken anywhere in the
  // file, is refused, as a write through it would go unseen.
  void check_unseen_uses(SgProject* project) const {
    std::map<std::string, std::string> unwritten = {{"block_size", "block_size is the tiled code's tile size, "
                                                                   "which its loops read"}};
    for (const std::string& name : constants)
      unwritten[name] = "the static control part takes " + name +
                        " for a constant of its loop bounds, conditions, subscripts and directives";
    std::map<std::string, std::string> unread;
    for (const std::string& name : loop_counter_names)
      unread[name] = unwritten[name] = name + " is a loop counter of the static control part, which the tiled "
                                              "loops replace by counters of their own";
    declarations.check_calls(unread, unwritten);
    for (const auto& address : outer_name_uses(project).addresses)
      if (unwritten.count(address.first))
        stop(std::cerr, location_of(address.second) + ": error: the address of " + address.first +
                            ", taken here, would let code write it unseen: " + unwritten[address.first]);
  }

private:
  struct CounterUse {
    std::string name;
    std::set<std::string> enclosing;  // counters of the loops around the use
    SgNode* where;                    // the statement or loop around it, not owned
  };
  std::vector<CounterUse> uses;
  std::set<std::string> loop_counter_names;
  std::set<std::string> constants;  // names in bounds, conditions, subscripts, directives
  std::vector<std::pair<std::string, SgNode*>> writes;  // scalar or array written, and by which statement

  void use(SgVarRefExp* node, const ASTInfo& a) {
    if (in_directive) return;
    std::string name = node->get_symbol()->get_name().getString();
    uses.push_back({name, std::set<std::string>(a.loop_counters.begin(), a.loop_counters.end()),
                    where});
  }
  SgNode* where = nullptr;  // the statement met last, in which uses stand
  bool in_directive = false;  // whether that statement carries a directive

  std::map<std::string, std::string> counter_types;  // counters declared with another type than int

  void assignment(SgAssignOp* node, ASTInfo& a) {
    if (a.in_for_init) {
      a.in_for_init = 0;
      return;
    }
    if (increments.count(node)) return;
    // The domain was read with floor divisions; the statement runs where C's
    // truncating ones say.
    Statement* s = new Statement(static_cast<int>(statement_vec.size()), a.loop_counters,
                                 with_truncating_divisions(a.iteration_domain), node);
    s->rhs = with_counter_casts(s->rhs, *s, counter_types);
    s->part = std::max(parts - 1, 0);  // without the part pragmas, the file is one part
    statement_vec.push_back(s);
  }

  // Only plain assignments without inner side effects are statements, and
  // they must not write a counter of an enclosing loop.
  void expression_statement(SgExprStatement* node, const ASTInfo& a) {
    where = node;
    in_directive = false;
    if (a.in_for_init || conditions.count(node)) return;
    SgAssignOp* assign = isSgAssignOp(node->get_expression());
    if (!assign || has_side_effect(assign->get_lhs_operand()) ||
        has_side_effect(assign->get_rhs_operand()))
      refuse_statement(node);
    std::string written = written_variable(assign->get_lhs_operand());
    check_written_name(written, node);
    // Directives are checked against their statement's loops when read.
    in_directive = is_dropped_carrier(written);
    for (const std::string& counter : a.loop_counters)
      if (counter == written) refuse_statement(node);
    collect_subscript_names(assign, constants);
    if (in_directive) return;
    check_predefined_names(assign, false);
    writes.push_back({written, node});
    check_min_max_calls(assign, declarations.table());
    refuse_generated_calls(assign);
    refuse_rounding_in_subscripts(assign, false);
    declarations.statement(assign);
  }

  void loop(SgForStatement* node, ASTInfo& a) {
    std::vector<SgStatement*> init = node->get_init_stmt();
    SgExprStatement* first = init.size() == 1 ? isSgExprStatement(init[0]) : nullptr;
    SgAssignOp* start = first ? isSgAssignOp(first->get_expression()) : nullptr;
    SgVarRefExp* counter = start ? isSgVarRefExp(start->get_lhs_operand()) : nullptr;
    SgExprStatement* test = isSgExprStatement(node->get_test());
    if (!counter || !test) refuse_loop(node);
    std::string name = counter->get_symbol()->get_name().getString();
    check_written_name(name, node);
    if (!is_unit_step(node->get_increment(), name)) refuse_loop(node);
    increments.insert(node->get_increment());
    // A loop that reuses an enclosing loop's counter overwrites it: the
    // model would give both loops their own dimension and change the result.
    for (const std::string& outer : a.loop_counters)
      if (outer == name) refuse_loop(node);

    std::string value_type = declarations.table().counter_value_type(name);
    if (!value_type.empty()) counter_types[name] = value_type;
    create_counter_rank(name);
    loop_counter_names.insert(name);
    a.add_counter(name);
    a.add_constraint(new SgGreaterOrEqualOp(node->get_file_info(), start->get_lhs_operand(),
                                            start->get_rhs_operand(), new SgTypeBool()));
    Polyhedron* iterations = loop_test_domain(test->get_expression(), start->get_rhs_operand(),
                                              get_counter_rank(name), location_of(node));
    a.intersect(iterations);
    delete iterations;
    conditions.insert(test);
    collect_names(start->get_rhs_operand(), constants);
    collect_names(test, constants);
  }

  // The else branch gets the enclosing domain with the negated condition,
  // which is exact only for a single inequality.
  void branch(SgIfStmt* node, ASTInfo& a) {
    SgExprStatement* condition = isSgExprStatement(node->get_conditional());
    conditions.insert(condition);
    collect_names(condition, constants);
    Polyhedron* c = Polyhedron::from_Sage(condition->get_expression());
    SgStatement* other = node->get_false_body();
    if (other && other->get_numberOfTraversalSuccessors() > 0) {
      if (c->size() != 1 || c->constraints.front()->pred == EQ)
        stop(std::cout, "Program::from_Sage: ELSE not handled: " + text_of(condition));
      Inequation* negation = c->constraints.front()->negate();
      Polyhedron* complement = new Polyhedron(negation);
      else_domains[other] = Polyhedron::intersect(a.iteration_domain, complement);
      delete complement;
      delete negation;
    }
    a.intersect(c);
    delete c;
  }

  // The tiled code declares the file-scope variables and the locals of the
  // kernel's function in its own file, and runs their initialisers there or
  // in tiled_kernel().
  void declaration(SgVariableDeclaration* node, const ASTInfo& a) {
    if (!a.function || a.kernel) check_predefined_names(node, false);
    if (inside_part()) {
      for (SgInitializedName* variable : node->get_variables())
        if (variable->get_initializer()) refuse_statement(node);
    }
    // tiled_kernel() runs the initialisers of the kernel's locals, after
    // the statement macros.
    if (a.kernel) refuse_generated_calls(node);
    declarations.variable(node, a.function, a.kernel, !part_started);
  }
};

}  // namespace

Program* Program::from_Sage(SgProject* project) {
  statement_vec.clear();
  MainTraversal traversal;
  traversal.traverseInputFiles(project, ASTInfo());
  traversal.check_counter_uses();
  traversal.check_constant_writes();
  traversal.check_constant_types();
  traversal.check_array_initialisations();
  traversal.check_unseen_uses(project);
  traversal.declarations.finish();
  Program* program = new Program(get_nb_counters(), get_nb_parameters(), statement_vec);
  program->set_variable_declaration(var_declaration);
  program->declared_names = var_declared_names;
  program->kernel_entry = traversal.declarations.initialisations();
  program->functions = traversal.declarations.carried_functions();
  program->includes = traversal.declarations.includes();
  return program;
}
