#include "Statement.h"

#include <iostream>
#include <iterator>

#include "Array.h"
#include "Expression.h"
#include "HoistedDeclaration.h"
#include "IndexFunction.h"
#include "Polyhedron.h"
#include "Rank.h"
#include "SourceLocation.h"
#include "Stop.h"
#include "SyntaxTree.h"

int Rhs::current_rank = 0;

namespace {

bool is_unary(int kind) {
  return kind == V_SgMinusOp || kind == V_SgUnaryAddOp || kind == V_SgNotOp ||
         kind == V_SgBitComplementOp;
}

bool is_binary(int kind) {
  switch (kind) {
    case V_SgAddOp: case V_SgSubtractOp: case V_SgMultiplyOp: case V_SgDivideOp:
    case V_SgModOp: case V_SgEqualityOp: case V_SgNotEqualOp: case V_SgLessThanOp:
    case V_SgGreaterThanOp: case V_SgLessOrEqualOp: case V_SgGreaterOrEqualOp:
    case V_SgAndOp: case V_SgOrOp: case V_SgBitAndOp: case V_SgBitOrOp:
    case V_SgBitXorOp: case V_SgLshiftOp: case V_SgRshiftOp:
      return true;
    default:
      return false;
  }
}

[[noreturn]] void refuse(SgNode* node) {
  stop(std::cout, "Statement: unsupported operator in right-hand side: " + node->class_name());
}

// The C token of an operator kind, from the front end's operator table.
std::string token(int kind) { return sg_operator_info(kind)->token; }

// The name of the array or scalar that a reference reads; the base of a
// subscript chain must be a plain variable.
std::string referenced_name(SgExpression* e) {
  while (SgPntrArrRefExp* subscript = isSgPntrArrRefExp(e)) e = subscript->get_lhs_operand();
  SgVarRefExp* base = isSgVarRefExp(e);
  if (!base) refuse(e);
  return base->get_symbol()->get_name().getString();
}

void print_read(std::ostream& out, const Read& read) {
  if (read.first.empty()) {
    // A counter used as a value: one operand whatever it expands to.
    out << "(" << *read.second->index_mapping[0] << ")";
  } else {
    out << read.first << *read.second;
  }
}

}  // namespace

// ------------------------------------------------------------------ Rhs

Rhs::Rhs(std::string value) : is_value(1), value(std::move(value)) {}

Rhs::Rhs(std::string name, int) : is_an_array(1), array_id(std::move(name)) {}

Rhs::Rhs(int op_id, std::string op_name, const std::vector<Rhs*>& operands)
    : is_op(1), op_id(op_id), op_name(std::move(op_name)) {
  for (Rhs* operand : operands) successor.push_back(operand->clone());
}

Rhs::~Rhs() {
  for (Rhs* operand : successor) delete operand;
}

Rhs* Rhs::clone() const {
  if (is_value) return new Rhs(value);
  if (is_an_array) {
    Rhs* copy = new Rhs(array_id, 0);
    copy->array_rank = array_rank;
    return copy;
  }
  if (is_op) return new Rhs(op_id, op_name, successor);
  stop(std::cout, "Statement::Rhs::clone(): invalid rhs");
}

void Rhs::fix_ranks() {
  current_rank = 0;
  number_reads();
}

void Rhs::number_reads() {
  if (is_an_array) {
    array_rank = current_rank++;
  } else if (is_op) {
    for (Rhs* operand : successor) operand->number_reads();
  } else if (!is_value) {
    stop(std::cout, "Statement::Rhs::fix_ranks(): invalid rhs");
  }
}

// Operands that are operator nodes are parenthesised whatever their
// operator; leaves never are.
void Rhs::print_operand(std::ostream* out, const Statement* s, bool inputs) const {
  if (is_op) *out << "(";
  write(out, s, inputs);
  if (is_op) *out << ")";
}

void Rhs::backend(std::ostream* out, const Statement* s) const { write(out, s, false); }

void Rhs::write(std::ostream* out, const Statement* s, bool inputs) const {
  if (is_value) {
    *out << value;
  } else if (is_an_array) {
    // A counter read is a value, not an input.
    if (inputs && !array_id.empty())
      *out << "input" << current_input++;
    else if (!s->is_sa_statement())
      print_read(*out, nth(array_rank, s->rhs_index));
  } else if (!is_op) {
    stop(std::cout, "Statement::Rhs::backend(): Bad rhs");
  } else if (op_id == V_SgCastExp) {
    *out << "(" << op_name << ")";
    successor[0]->print_operand(out, s, inputs);
  } else if (is_unary(op_id)) {
    *out << token(op_id);
    successor[0]->print_operand(out, s, inputs);
  } else if (is_binary(op_id)) {
    successor[0]->print_operand(out, s, inputs);
    *out << token(op_id);
    successor[1]->print_operand(out, s, inputs);
  } else if (op_id == V_SgConditionalExp) {
    successor[0]->print_operand(out, s, inputs);
    *out << "?";
    successor[1]->print_operand(out, s, inputs);
    *out << ":";
    successor[2]->print_operand(out, s, inputs);
  } else {
    // Calls, and any other operator, in call form.
    *out << op_name << "(";
    for (size_t k = 0; k < successor.size(); k++) {
      if (k) *out << ",";
      successor[k]->write(out, s, inputs);
    }
    *out << ")";
  }
}

Read nth(int rank, const std::list<Read>& reads) {
  if (rank < 0 || rank >= static_cast<int>(reads.size())) stop(std::cout, "Statement::nth: bad rank");
  return *std::next(reads.begin(), rank);
}

// ------------------------------------------------------------ Statement

Statement::Statement(int rank) : stmt_rank(rank) {}

Statement::Statement(int rank, const std::list<std::string>& counters, Polyhedron* domain,
                     SgAssignOp* assignment)
    : stmt_rank(rank), iteration_domain(domain) {
  location = location_of(assignment);
  for (const std::string& name : counters) surrounding_counters.push_back(get_counter_rank(name));
  std::pair<std::string, IndexFunction*> write =
      IndexFunction::from_Sage(assignment->get_lhs_operand(), surrounding_counters);
  lhs_id = write.first;
  lhs_index = write.second;
  add_array(lhs_id, lhs_index->size());
  std::pair<Rhs*, std::list<SgExpression*>> tree = collect_references(assignment->get_rhs_operand());
  for (SgExpression* reference : tree.second) rhs_index.push_back(read_of(reference));
  rhs = tree.first->clone();
  rhs->fix_ranks();
  delete tree.first;
}

bool Statement::is_surrounding_counter(const std::string& name) const {
  for (int rank : surrounding_counters)
    if (get_counter_string(rank) == name) return true;
  return false;
}

// A read of an array or scalar (registered as an array), or a counter used
// as a value, which is no array.
Read Statement::read_of(SgExpression* reference) const {
  SgVarRefExp* variable = isSgVarRefExp(reference);
  if (variable && is_surrounding_counter(variable->get_symbol()->get_name().getString())) {
    Expression* counter = Expression::from_counter_rank(
        get_counter_rank(variable->get_symbol()->get_name().getString()));
    IndexFunction* f = new IndexFunction(surrounding_counters, std::vector<Expression*>{counter});
    delete counter;
    return Read("", f);
  }
  Read read = IndexFunction::from_Sage(reference, surrounding_counters);
  add_array(read.first, read.second->size());
  return read;
}

std::pair<Rhs*, std::list<SgExpression*>> Statement::collect_references(SgExpression* e) const {
  if (isSgVarRefExp(e) || isSgPntrArrRefExp(e)) {
    std::string name = referenced_name(e);
    if (isSgVarRefExp(e) && is_surrounding_counter(name)) name.clear();
    return {new Rhs(name, 0), {e}};
  }
  if (isSgValueExp(e)) return {new Rhs(e->unparseToString()), {}};

  std::vector<SgExpression*> operands;
  std::string op_name = e->class_name();
  int kind = e->variantT();
  if (SgFunctionCallExp* call = isSgFunctionCallExp(e)) {
    SgFunctionRefExp* callee = isSgFunctionRefExp(call->get_function());
    if (!callee) refuse(call->get_function());
    op_name = callee->get_symbol()->get_name().getString();
    operands = call->get_args()->get_expressions();
  } else if (SgCastExp* cast = isSgCastExp(e)) {
    op_name = cxx_text(cast->get_type()->unparseToString());
    operands = {cast->get_operand()};
  } else if (SgUnaryOp* unary = isSgUnaryOp(e); unary && is_unary(kind)) {
    operands = {unary->get_operand()};
  } else if (SgBinaryOp* binary = isSgBinaryOp(e); binary && is_binary(kind)) {
    operands = {binary->get_lhs_operand(), binary->get_rhs_operand()};
  } else if (SgConditionalExp* choice = isSgConditionalExp(e)) {
    operands = {choice->get_conditional_exp(), choice->get_true_exp(), choice->get_false_exp()};
  } else {
    refuse(e);
  }

  std::vector<Rhs*> trees;
  std::list<SgExpression*> references;
  for (SgExpression* operand : operands) {
    std::pair<Rhs*, std::list<SgExpression*>> sub = collect_references(operand);
    trees.push_back(sub.first);
    references.splice(references.end(), sub.second);
  }
  Rhs* node = new Rhs(kind, op_name, trees);
  for (Rhs* tree : trees) delete tree;
  return {node, references};
}

Statement::~Statement() {
  delete iteration_domain;
  delete lhs_index;
  for (Read& read : rhs_index) delete read.second;
  delete rhs;
}

int Statement::is_sa_statement() const { return 0; }

Statement* Statement::clone() const {
  Statement* copy = new Statement(stmt_rank);
  copy->surrounding_counters = surrounding_counters;
  if (iteration_domain) copy->iteration_domain = iteration_domain->clone();
  copy->lhs_id = lhs_id;
  if (lhs_index) copy->lhs_index = lhs_index->clone();
  for (const Read& read : rhs_index) copy->rhs_index.push_back(Read(read.first, read.second->clone()));
  if (rhs) copy->rhs = rhs->clone();
  copy->part = part;
  copy->location = location;
  return copy;
}

void Statement::print(std::ostream& out) const {
  out << lhs_id;
  // A statement built piece by piece may have no write yet.
  if (lhs_index) out << *lhs_index;
  out << "=";
  if (rhs) {
    rhs->backend(&out, this);
  } else if (rhs_index.size() == 1) {
    print_read(out, rhs_index.front());
  } else {
    stop(std::cout, "Statement::<<: incorrect rhs");
  }
}

Statement* Statement::substitute_counters_ref(const std::map<int, Expression*>& m) const {
  Statement* copy = clone();
  delete copy->lhs_index;
  copy->lhs_index = lhs_index->substitute_counters(m);
  auto target = copy->rhs_index.begin();
  for (const Read& read : rhs_index) {
    delete target->second;
    target->second = read.second->substitute_counters(m);
    ++target;
  }
  return copy;
}

void Statement::print_iscc(std::ostream& out) const {
  out << "D" << stmt_rank << " := ";
  iteration_domain->print_iscc("S" + std::to_string(stmt_rank), out);
  out << ";\n";
}

std::ostream& operator<<(std::ostream& out, const Statement& s) {
  s.print(out);
  return out;
}
