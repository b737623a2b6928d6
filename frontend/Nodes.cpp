// Constructors and accessors of the syntax-tree nodes, and the node pool.
#include "SyntaxTree.h"

#include <cmath>
#include <cstdio>
#include <new>

namespace {

// Every pool allocation, kept reachable until the process ends. The vector
// itself is never destroyed, so nodes stay valid during static destruction.
std::vector<void*>& pool() {
  static std::vector<void*>* all = new std::vector<void*>();
  return *all;
}

template <class T>
T* child_as(SgNode* n) {
  return dynamic_cast<T*>(n);
}

template <class T>
std::vector<T*> children_as(const std::vector<SgNode*>& nodes) {
  std::vector<T*> out;
  out.reserve(nodes.size());
  for (SgNode* n : nodes) out.push_back(dynamic_cast<T*>(n));
  return out;
}

std::string float_text(long double v, const char* suffix) {
  if (std::isnan(v)) return "(0.0" + std::string(suffix) + " / 0.0)";
  if (std::isinf(v)) return std::string(v < 0 ? "-" : "") + "(1.0" + suffix + " / 0.0)";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.21Lg", v);
  std::string s = buf;
  if (s.find_first_of(".e") == std::string::npos) s += ".0";
  return s + suffix;
}

}  // namespace

void* SgPoolObject::operator new(std::size_t size) {
  void* p = ::operator new(size);
  pool().push_back(p);
  return p;
}

void SgPoolObject::operator delete(void* p) noexcept { ::operator delete(p); }

Sg_File_Info::Sg_File_Info(std::string file, int line, int col) : file_(std::move(file)), line_(line), col_(col) {}

std::string sg_value_text(char v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "'\\%03o'", static_cast<unsigned char>(v));
  return buf;
}
std::string sg_value_text(int v) { return std::to_string(v); }
std::string sg_value_text(long v) { return std::to_string(v) + "L"; }
std::string sg_value_text(long long v) { return std::to_string(v) + "LL"; }
std::string sg_value_text(unsigned int v) { return std::to_string(v) + "U"; }
std::string sg_value_text(unsigned long v) { return std::to_string(v) + "UL"; }
std::string sg_value_text(unsigned long long v) { return std::to_string(v) + "ULL"; }
std::string sg_value_text(float v) { return float_text(v, "f"); }
std::string sg_value_text(double v) { return float_text(v, ""); }
std::string sg_value_text(long double v) { return float_text(v, "L"); }
std::string sg_value_text(const std::string& v) { return "\"" + v + "\""; }

// ------------------------------------------------------------------ SgNode

SgNode::SgNode(Sg_File_Info* info, std::vector<SgNode*> successors)
    : file_info_(info), successors_(std::move(successors)) {}

SgNode* SgNode::get_traversalSuccessorByIndex(std::size_t i) const {
  return i < successors_.size() ? successors_[i] : nullptr;
}

void SgNode::set_traversalSuccessorByIndex(std::size_t i, SgNode* n) { successors_.at(i) = n; }

Sg_File_Info* SgNode::get_file_info() const {
  static Sg_File_Info* none = new Sg_File_Info();
  return file_info_ ? file_info_ : none;
}

// ------------------------------------------------------------------ types

SgType::SgType(std::string text) : SgNode(nullptr, {}), text_(std::move(text)) {}
SgTypeBool::SgTypeBool() : SgType("_Bool") {}

// ------------------------------------------------------------- expressions

SgExpression::SgExpression(Sg_File_Info* info, std::vector<SgNode*> successors, SgType* type)
    : SgNode(info, std::move(successors)), type_(type) {}

SgValueExp::SgValueExp(Sg_File_Info* info, std::string spelling)
    : SgExpression(info, {}), spelling_(std::move(spelling)) {}

SgBoolValExp::SgBoolValExp(Sg_File_Info* info, bool value)
    : SgValueExp(info, value ? "true" : "false"), value_(value) {}

SgUnaryOp::SgUnaryOp(Sg_File_Info* info, SgExpression* operand, SgType* type, Sgop_mode mode)
    : SgExpression(info, {operand}, type), mode_(mode) {}
SgExpression* SgUnaryOp::get_operand() const { return child_as<SgExpression>(successor(0)); }

SgCastExp::SgCastExp(Sg_File_Info* info, SgExpression* operand, SgType* type) : SgUnaryOp(info, operand, type) {}

SgBinaryOp::SgBinaryOp(Sg_File_Info* info, SgExpression* lhs, SgExpression* rhs, SgType* type)
    : SgExpression(info, {lhs, rhs}, type) {}
SgExpression* SgBinaryOp::get_lhs_operand() const { return child_as<SgExpression>(successor(0)); }
SgExpression* SgBinaryOp::get_rhs_operand() const { return child_as<SgExpression>(successor(1)); }

SgVarRefExp::SgVarRefExp(Sg_File_Info* info, SgName name) : SgExpression(info, {}), symbol_(std::move(name)) {}

SgFunctionRefExp::SgFunctionRefExp(Sg_File_Info* info, SgName name)
    : SgExpression(info, {}), symbol_(std::move(name)) {}

SgExprListExp::SgExprListExp(Sg_File_Info* info, std::vector<SgExpression*> expressions)
    : SgExpression(info, std::vector<SgNode*>(expressions.begin(), expressions.end())) {}
std::vector<SgExpression*> SgExprListExp::get_expressions() const {
  return children_as<SgExpression>(get_traversalSuccessorContainer());
}

SgFunctionCallExp::SgFunctionCallExp(Sg_File_Info* info, SgExpression* function, SgExprListExp* args)
    : SgExpression(info, {function, args}) {}
SgExpression* SgFunctionCallExp::get_function() const { return child_as<SgExpression>(successor(0)); }
SgExprListExp* SgFunctionCallExp::get_args() const { return child_as<SgExprListExp>(successor(1)); }
std::string SgFunctionCallExp::get_callee_name() const {
  const SgFunctionRefExp* ref = isSgFunctionRefExp(successor(0));
  return ref ? ref->get_symbol()->get_name().getString() : std::string();
}

SgConditionalExp::SgConditionalExp(Sg_File_Info* info, SgExpression* cond, SgExpression* t, SgExpression* f)
    : SgExpression(info, {cond, t, f}) {}
SgExpression* SgConditionalExp::get_conditional_exp() const { return child_as<SgExpression>(successor(0)); }
SgExpression* SgConditionalExp::get_true_exp() const { return child_as<SgExpression>(successor(1)); }
SgExpression* SgConditionalExp::get_false_exp() const { return child_as<SgExpression>(successor(2)); }

SgSizeOfOp::SgSizeOfOp(Sg_File_Info* info, SgExpression* operand, SgType* operand_type)
    : SgExpression(info, {operand}), operand_type_(operand_type) {}
SgExpression* SgSizeOfOp::get_operand_expr() const { return child_as<SgExpression>(successor(0)); }

SgNullExpression::SgNullExpression(Sg_File_Info* info) : SgExpression(info, {}) {}

SgAssignInitializer::SgAssignInitializer(Sg_File_Info* info, SgExpression* operand)
    : SgInitializer(info, {operand}) {}
SgExpression* SgAssignInitializer::get_operand() const { return child_as<SgExpression>(successor(0)); }

SgAggregateInitializer::SgAggregateInitializer(Sg_File_Info* info, SgExprListExp* initializers)
    : SgInitializer(info, {initializers}) {}
SgExprListExp* SgAggregateInitializer::get_initializers() const { return child_as<SgExprListExp>(successor(0)); }

// ------------------------------------------------------------ declarations

SgInitializedName::SgInitializedName(Sg_File_Info* info, std::string specifiers, std::string pointer, SgName name,
                                     std::vector<SgExpression*> bounds, SgInitializer* initializer)
    : SgNode(info, {initializer}),
      specifiers_(std::move(specifiers)),
      pointer_(std::move(pointer)),
      name_(std::move(name)),
      bounds_(std::move(bounds)) {}
SgInitializer* SgInitializedName::get_initializer() const { return child_as<SgInitializer>(successor(0)); }

SgVariableDeclaration::SgVariableDeclaration(Sg_File_Info* info, SgInitializedName* variable)
    : SgDeclarationStatement(info, {variable}) {}
std::vector<SgInitializedName*> SgVariableDeclaration::get_variables() const {
  return children_as<SgInitializedName>(get_traversalSuccessorContainer());
}

SgTypedefDeclaration::SgTypedefDeclaration(Sg_File_Info* info, SgInitializedName* declarator)
    : SgDeclarationStatement(info, {}), declarator_(declarator) {}

SgFunctionParameterList::SgFunctionParameterList(Sg_File_Info* info, std::vector<SgInitializedName*> args,
                                                 bool ellipsis)
    : SgNode(info, std::vector<SgNode*>(args.begin(), args.end())), ellipsis_(ellipsis) {}
std::vector<SgInitializedName*> SgFunctionParameterList::get_args() const {
  return children_as<SgInitializedName>(get_traversalSuccessorContainer());
}

SgFunctionDefinition::SgFunctionDefinition(Sg_File_Info* info, SgBasicBlock* body) : SgNode(info, {body}) {}
SgBasicBlock* SgFunctionDefinition::get_body() const { return child_as<SgBasicBlock>(successor(0)); }

SgFunctionDeclaration::SgFunctionDeclaration(Sg_File_Info* info, std::string specifiers, std::string pointer,
                                             SgName name, SgFunctionParameterList* params,
                                             SgFunctionDefinition* definition)
    : SgDeclarationStatement(info, {params, definition}),
      specifiers_(std::move(specifiers)),
      pointer_(std::move(pointer)),
      name_(std::move(name)) {}
SgFunctionParameterList* SgFunctionDeclaration::get_parameterList() const {
  return child_as<SgFunctionParameterList>(successor(0));
}
SgFunctionDefinition* SgFunctionDeclaration::get_definition() const {
  return child_as<SgFunctionDefinition>(successor(1));
}

SgPragma::SgPragma(Sg_File_Info* info, std::string text) : SgNode(info, {}), text_(std::move(text)) {}

SgPragmaDeclaration::SgPragmaDeclaration(Sg_File_Info* info, SgPragma* pragma)
    : SgDeclarationStatement(info, {pragma}) {}
SgPragma* SgPragmaDeclaration::get_pragma() const { return child_as<SgPragma>(successor(0)); }

// -------------------------------------------------------------- statements

SgExprStatement::SgExprStatement(Sg_File_Info* info, SgExpression* expression) : SgStatement(info, {expression}) {}
SgExpression* SgExprStatement::get_expression() const { return child_as<SgExpression>(successor(0)); }

SgBasicBlock::SgBasicBlock(Sg_File_Info* info, SgStatement* first)
    : SgStatement(info, first ? std::vector<SgNode*>{first} : std::vector<SgNode*>{}) {}
std::vector<SgStatement*> SgBasicBlock::get_statements() const {
  return children_as<SgStatement>(get_traversalSuccessorContainer());
}

SgForInitStatement::SgForInitStatement(Sg_File_Info* info, std::vector<SgStatement*> statements)
    : SgStatement(info, std::vector<SgNode*>(statements.begin(), statements.end())) {}
std::vector<SgStatement*> SgForInitStatement::get_init_stmt() const {
  return children_as<SgStatement>(get_traversalSuccessorContainer());
}

SgForStatement::SgForStatement(Sg_File_Info* info, SgForInitStatement* init, SgStatement* test,
                               SgExpression* increment, SgStatement* body)
    : SgStatement(info, {init, test, increment, body}) {}
SgForInitStatement* SgForStatement::get_for_init_stmt() const { return child_as<SgForInitStatement>(successor(0)); }
std::vector<SgStatement*> SgForStatement::get_init_stmt() const {
  SgForInitStatement* init = get_for_init_stmt();
  return init ? init->get_init_stmt() : std::vector<SgStatement*>();
}
SgStatement* SgForStatement::get_test() const { return child_as<SgStatement>(successor(1)); }
SgExpression* SgForStatement::get_increment() const { return child_as<SgExpression>(successor(2)); }
SgStatement* SgForStatement::get_loop_body() const { return child_as<SgStatement>(successor(3)); }

SgIfStmt::SgIfStmt(Sg_File_Info* info, SgStatement* conditional, SgStatement* true_body, SgStatement* false_body)
    : SgStatement(info, {conditional, true_body, false_body}) {}
SgStatement* SgIfStmt::get_conditional() const { return child_as<SgStatement>(successor(0)); }
SgStatement* SgIfStmt::get_true_body() const { return child_as<SgStatement>(successor(1)); }
SgStatement* SgIfStmt::get_false_body() const { return child_as<SgStatement>(successor(2)); }

SgWhileStmt::SgWhileStmt(Sg_File_Info* info, SgStatement* condition, SgStatement* body)
    : SgStatement(info, {condition, body}) {}
SgStatement* SgWhileStmt::get_condition() const { return child_as<SgStatement>(successor(0)); }
SgStatement* SgWhileStmt::get_body() const { return child_as<SgStatement>(successor(1)); }

SgDoWhileStmt::SgDoWhileStmt(Sg_File_Info* info, SgStatement* body, SgStatement* condition)
    : SgStatement(info, {body, condition}) {}
SgStatement* SgDoWhileStmt::get_body() const { return child_as<SgStatement>(successor(0)); }
SgStatement* SgDoWhileStmt::get_condition() const { return child_as<SgStatement>(successor(1)); }

SgReturnStmt::SgReturnStmt(Sg_File_Info* info, SgExpression* expression) : SgStatement(info, {expression}) {}
SgExpression* SgReturnStmt::get_expression() const { return child_as<SgExpression>(successor(0)); }

SgBreakStmt::SgBreakStmt(Sg_File_Info* info) : SgStatement(info, {}) {}
SgContinueStmt::SgContinueStmt(Sg_File_Info* info) : SgStatement(info, {}) {}
SgNullStatement::SgNullStatement(Sg_File_Info* info) : SgStatement(info, {}) {}

// ---------------------------------------------------------- files, project

SgGlobal::SgGlobal(Sg_File_Info* info) : SgStatement(info, {}) {}
std::vector<SgDeclarationStatement*> SgGlobal::get_declarations() const {
  return children_as<SgDeclarationStatement>(get_traversalSuccessorContainer());
}

SgSourceFile::SgSourceFile(Sg_File_Info* info, std::string name, SgGlobal* global)
    : SgNode(info, {global}), name_(std::move(name)) {}
SgGlobal* SgSourceFile::get_globalScope() const { return child_as<SgGlobal>(successor(0)); }

SgProject::SgProject(std::vector<std::string> arguments, std::vector<std::string> file_names)
    : SgNode(nullptr, {}), arguments_(std::move(arguments)), file_names_(std::move(file_names)) {}
std::vector<SgSourceFile*> SgProject::get_files() const {
  return children_as<SgSourceFile>(get_traversalSuccessorContainer());
}
