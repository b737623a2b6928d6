// The C syntax tree of tarvex's front end: node classes, kind codes, casts,
// traversals and the entry point `frontend()`.
//
// Ownership: every node, file-position record and type is allocated with
// `new` and lives until the process ends. A process-wide pool records every
// allocation, so leak checkers see the nodes as reachable. Nodes never free
// (or copy, or re-parent) the nodes they are given: constructors share their
// arguments, and one node may be the child of several parents. Destructors
// are protected, so a node cannot be deleted or put on the stack.
//
// There are no parenthesis nodes, no implicit casts, no symbol tables and no
// parent pointers. Literals keep their source spelling.
#ifndef TARVEX_FRONTEND_SYNTAXTREE_H
#define TARVEX_FRONTEND_SYNTAXTREE_H

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// Node kind codes. The codes below 1000 are fixed, every other kind has a
// code from 1000 upwards so that it can never collide with a fixed one.
enum VariantT {
  V_SgPragma = 29,
  V_SgVarRefExp = 96,
  V_SgFunctionCallExp = 100,
  V_SgMinusOp = 117,
  V_SgCastExp = 125,
  V_SgEqualityOp = 131,
  V_SgLessThanOp = 132,
  V_SgGreaterThanOp = 133,
  V_SgLessOrEqualOp = 135,
  V_SgGreaterOrEqualOp = 136,
  V_SgAddOp = 137,
  V_SgSubtractOp = 138,
  V_SgMultiplyOp = 139,
  V_SgDivideOp = 140,
  V_SgModOp = 142,
  V_SgAndOp = 143,
  V_SgPntrArrRefExp = 151,
  V_SgAssignOp = 153,
  V_SgBoolValExp = 164,
  V_SgForStatement = 183,
  V_SgForInitStatement = 184,
  V_SgIfStmt = 190,
  V_SgVariableDeclaration = 196,

  V_SgProject = 1000,
  V_SgSourceFile,
  V_SgGlobal,
  V_SgFunctionDeclaration,
  V_SgFunctionParameterList,
  V_SgFunctionDefinition,
  V_SgBasicBlock,
  V_SgInitializedName,
  V_SgAssignInitializer,
  V_SgAggregateInitializer,
  V_SgTypedefDeclaration,
  V_SgPragmaDeclaration,
  V_SgExprStatement,
  V_SgWhileStmt,
  V_SgDoWhileStmt,
  V_SgReturnStmt,
  V_SgBreakStmt,
  V_SgContinueStmt,
  V_SgNullStatement,

  V_SgIntVal = 1100,
  V_SgLongIntVal,
  V_SgLongLongIntVal,
  V_SgUnsignedIntVal,
  V_SgUnsignedLongVal,
  V_SgUnsignedLongLongIntVal,
  V_SgFloatVal,
  V_SgDoubleVal,
  V_SgLongDoubleVal,
  V_SgCharVal,
  V_SgStringVal,
  V_SgNotEqualOp,
  V_SgOrOp,
  V_SgNotOp,
  V_SgUnaryAddOp,
  V_SgBitComplementOp,
  V_SgBitAndOp,
  V_SgBitOrOp,
  V_SgBitXorOp,
  V_SgLshiftOp,
  V_SgRshiftOp,
  V_SgPlusPlusOp,
  V_SgMinusMinusOp,
  V_SgPlusAssignOp,
  V_SgMinusAssignOp,
  V_SgMultAssignOp,
  V_SgDivAssignOp,
  V_SgModAssignOp,
  V_SgAndAssignOp,
  V_SgIorAssignOp,
  V_SgXorAssignOp,
  V_SgLshiftAssignOp,
  V_SgRshiftAssignOp,
  V_SgAddressOfOp,
  V_SgPointerDerefExp,
  V_SgSizeOfOp,
  V_SgConditionalExp,
  V_SgCommaOpExp,
  V_SgDotExp,
  V_SgArrowExp,
  V_SgFunctionRefExp,
  V_SgExprListExp,
  V_SgNullExpression,

  V_SgType = 1200,
  V_SgTypeBool
};

// Objects of the syntax tree are allocated from the process-wide pool:
// `new` records them, and they are never freed.
class SgPoolObject {
public:
  static void* operator new(std::size_t size);
  // Only reached when a constructor throws; the pool entry then stays unused.
  static void operator delete(void* p) noexcept;

protected:
  SgPoolObject() = default;
  virtual ~SgPoolObject() = default;
};

// Source position of a node: file name as given, 1-based line and byte
// column (0 when unknown: a text parsed in place of another keeps only
// lines). Constructed nodes take the record their creator hands them.
class Sg_File_Info : public SgPoolObject {
public:
  Sg_File_Info() = default;
  Sg_File_Info(std::string file, int line, int col);

  const std::string& get_filenameString() const { return file_; }
  const char* get_filename() const { return file_.c_str(); }
  int get_line() const { return line_; }
  int get_col() const { return col_; }

protected:
  ~Sg_File_Info() override = default;

private:
  std::string file_;
  int line_ = 0;
  int col_ = 0;
};

// An identifier.
class SgName {
public:
  SgName() = default;
  SgName(std::string text) : text_(std::move(text)) {}
  SgName(const char* text) : text_(text) {}
  const std::string& getString() const { return text_; }

private:
  std::string text_;
};

// Symbols carry the referenced name only: there is no scope resolution.
class SgSymbol {
public:
  explicit SgSymbol(SgName name) : name_(std::move(name)) {}
  const SgName& get_name() const { return name_; }
  // A reference renamed with the variable it names.
  void set_name(SgName name) { name_ = std::move(name); }

private:
  SgName name_;
};
class SgVariableSymbol : public SgSymbol {
public:
  using SgSymbol::SgSymbol;
};
class SgFunctionSymbol : public SgSymbol {
public:
  using SgSymbol::SgSymbol;
};

// Every concrete node class answers its code and class name, and hides its
// destructor (nodes live until the process ends).
#define SG_NODE_KIND(Name)                                         \
public:                                                            \
  VariantT variantT() const override { return V_##Name; }          \
  std::string class_name() const override { return #Name; }       \
                                                                   \
protected:                                                         \
  ~Name() override = default;                                      \
                                                                   \
public:

class SgNode : public SgPoolObject {
public:
  virtual VariantT variantT() const = 0;
  virtual std::string class_name() const = 0;

  // Children in traversal order; entries may be null.
  const std::vector<SgNode*>& get_traversalSuccessorContainer() const { return successors_; }
  std::size_t get_numberOfTraversalSuccessors() const { return successors_.size(); }
  // Null when `i` is out of range.
  SgNode* get_traversalSuccessorByIndex(std::size_t i) const;
  // Makes `n` child `i` (which must exist) in place of the old one, which
  // stays in the pool: a rewrite of the tree after parsing.
  void set_traversalSuccessorByIndex(std::size_t i, SgNode* n);

  // Never null: a node built without a record answers an empty one.
  Sg_File_Info* get_file_info() const;

  // The C text of the node (a whole file for a project or file). Both give
  // the same text.
  std::string unparseToString() const;
  std::string unparseToCompleteString() const;

protected:
  SgNode(Sg_File_Info* info, std::vector<SgNode*> successors);
  ~SgNode() override = default;

  SgNode* successor(std::size_t i) const { return successors_[i]; }
  void append_successor(SgNode* n) { successors_.push_back(n); }

private:
  Sg_File_Info* file_info_;
  std::vector<SgNode*> successors_;
};

// ---------------------------------------------------------------- types

// A type as written: the type name of a cast or of `sizeof(type)`
// ("double", "unsigned long", "double *"). Types are not traversal
// successors.
class SgType : public SgNode {
  SG_NODE_KIND(SgType)
  explicit SgType(std::string text);
  const std::string& get_text() const { return text_; }

private:
  std::string text_;
};

class SgTypeBool : public SgType {
  SG_NODE_KIND(SgTypeBool)
  SgTypeBool();
};

// ------------------------------------------------------------ expressions

class SgExpression : public SgNode {
public:
  // The type the node was built with, null when none was given.
  SgType* get_type() const { return type_; }

protected:
  SgExpression(Sg_File_Info* info, std::vector<SgNode*> successors, SgType* type = nullptr);
  ~SgExpression() override = default;

private:
  SgType* type_;
};

// Every literal. The source spelling is kept for unparsing.
class SgValueExp : public SgExpression {
public:
  const std::string& get_valueString() const { return spelling_; }

protected:
  SgValueExp(Sg_File_Info* info, std::string spelling);
  ~SgValueExp() override = default;

private:
  std::string spelling_;
};

// A literal of class `Name` whose value has C++ type `T`. An empty spelling
// is replaced by the value's decimal text.
#define SG_VALUE_CLASS(Name, T)                                            \
  class Name : public SgValueExp {                                         \
    SG_NODE_KIND(Name)                                                     \
    Name(Sg_File_Info* info, T value, std::string spelling)                \
        : SgValueExp(info, spelling.empty() ? sg_value_text(value) : spelling), \
          value_(value) {}                                                 \
    T get_value() const { return value_; }                                 \
                                                                           \
  private:                                                                 \
    T value_;                                                              \
  };

// C spellings of values, for literals built without one.
std::string sg_value_text(char v);
std::string sg_value_text(int v);
std::string sg_value_text(long v);
std::string sg_value_text(long long v);
std::string sg_value_text(unsigned int v);
std::string sg_value_text(unsigned long v);
std::string sg_value_text(unsigned long long v);
std::string sg_value_text(float v);
std::string sg_value_text(double v);
std::string sg_value_text(long double v);
std::string sg_value_text(const std::string& v);

SG_VALUE_CLASS(SgIntVal, int)
SG_VALUE_CLASS(SgLongIntVal, long)
SG_VALUE_CLASS(SgLongLongIntVal, long long)
SG_VALUE_CLASS(SgUnsignedIntVal, unsigned int)
SG_VALUE_CLASS(SgUnsignedLongVal, unsigned long)
SG_VALUE_CLASS(SgUnsignedLongLongIntVal, unsigned long long)
SG_VALUE_CLASS(SgFloatVal, float)
SG_VALUE_CLASS(SgDoubleVal, double)
SG_VALUE_CLASS(SgLongDoubleVal, long double)
SG_VALUE_CLASS(SgCharVal, char)
// The value of a string literal is the text between the quotes, escapes as
// written; adjacent literals are joined into one node.
SG_VALUE_CLASS(SgStringVal, std::string)
#undef SG_VALUE_CLASS

// `true` and `false`.
class SgBoolValExp : public SgValueExp {
  SG_NODE_KIND(SgBoolValExp)
  SgBoolValExp(Sg_File_Info* info, bool value);
  int get_value() const { return value_ ? 1 : 0; }

private:
  bool value_;
};

class SgUnaryOp : public SgExpression {
public:
  enum Sgop_mode { prefix = 0, postfix = 1 };
  SgExpression* get_operand() const;
  Sgop_mode get_mode() const { return mode_; }

protected:
  SgUnaryOp(Sg_File_Info* info, SgExpression* operand, SgType* type, Sgop_mode mode = prefix);
  ~SgUnaryOp() override = default;

private:
  Sgop_mode mode_;
};

#define SG_UNARY_CLASS(Name)                                                      \
  class Name : public SgUnaryOp {                                                 \
    SG_NODE_KIND(Name)                                                            \
    Name(Sg_File_Info* info, SgExpression* operand, SgType* type = nullptr)      \
        : SgUnaryOp(info, operand, type) {}                                      \
  };
SG_UNARY_CLASS(SgMinusOp)
SG_UNARY_CLASS(SgUnaryAddOp)
SG_UNARY_CLASS(SgNotOp)
SG_UNARY_CLASS(SgBitComplementOp)
SG_UNARY_CLASS(SgAddressOfOp)
SG_UNARY_CLASS(SgPointerDerefExp)
#undef SG_UNARY_CLASS

// `++` and `--`, prefix or postfix.
#define SG_STEP_CLASS(Name)                                                       \
  class Name : public SgUnaryOp {                                                 \
    SG_NODE_KIND(Name)                                                            \
    Name(Sg_File_Info* info, SgExpression* operand, Sgop_mode mode)              \
        : SgUnaryOp(info, operand, nullptr, mode) {}                             \
  };
SG_STEP_CLASS(SgPlusPlusOp)
SG_STEP_CLASS(SgMinusMinusOp)
#undef SG_STEP_CLASS

// `(type)operand`; get_type() gives the written type.
class SgCastExp : public SgUnaryOp {
  SG_NODE_KIND(SgCastExp)
  SgCastExp(Sg_File_Info* info, SgExpression* operand, SgType* type);
};

class SgBinaryOp : public SgExpression {
public:
  SgExpression* get_lhs_operand() const;
  SgExpression* get_rhs_operand() const;

protected:
  SgBinaryOp(Sg_File_Info* info, SgExpression* lhs, SgExpression* rhs, SgType* type);
  ~SgBinaryOp() override = default;
};

#define SG_BINARY_CLASS(Name)                                                     \
  class Name : public SgBinaryOp {                                                \
    SG_NODE_KIND(Name)                                                            \
    Name(Sg_File_Info* info, SgExpression* lhs, SgExpression* rhs,               \
         SgType* type = nullptr)                                                  \
        : SgBinaryOp(info, lhs, rhs, type) {}                                    \
  };
SG_BINARY_CLASS(SgAddOp)
SG_BINARY_CLASS(SgSubtractOp)
SG_BINARY_CLASS(SgMultiplyOp)
SG_BINARY_CLASS(SgDivideOp)
SG_BINARY_CLASS(SgModOp)
SG_BINARY_CLASS(SgEqualityOp)
SG_BINARY_CLASS(SgNotEqualOp)
SG_BINARY_CLASS(SgLessThanOp)
SG_BINARY_CLASS(SgGreaterThanOp)
SG_BINARY_CLASS(SgLessOrEqualOp)
SG_BINARY_CLASS(SgGreaterOrEqualOp)
SG_BINARY_CLASS(SgAndOp)
SG_BINARY_CLASS(SgOrOp)
SG_BINARY_CLASS(SgBitAndOp)
SG_BINARY_CLASS(SgBitOrOp)
SG_BINARY_CLASS(SgBitXorOp)
SG_BINARY_CLASS(SgLshiftOp)
SG_BINARY_CLASS(SgRshiftOp)
SG_BINARY_CLASS(SgAssignOp)
SG_BINARY_CLASS(SgPlusAssignOp)
SG_BINARY_CLASS(SgMinusAssignOp)
SG_BINARY_CLASS(SgMultAssignOp)
SG_BINARY_CLASS(SgDivAssignOp)
SG_BINARY_CLASS(SgModAssignOp)
SG_BINARY_CLASS(SgAndAssignOp)
SG_BINARY_CLASS(SgIorAssignOp)
SG_BINARY_CLASS(SgXorAssignOp)
SG_BINARY_CLASS(SgLshiftAssignOp)
SG_BINARY_CLASS(SgRshiftAssignOp)
SG_BINARY_CLASS(SgCommaOpExp)
// base[index]
SG_BINARY_CLASS(SgPntrArrRefExp)
// lhs.member and lhs->member; the member is an SgVarRefExp.
SG_BINARY_CLASS(SgDotExp)
SG_BINARY_CLASS(SgArrowExp)
#undef SG_BINARY_CLASS

class SgVarRefExp : public SgExpression {
  SG_NODE_KIND(SgVarRefExp)
  SgVarRefExp(Sg_File_Info* info, SgName name);
  // Points into this node; lives as long as the node.
  SgVariableSymbol* get_symbol() { return &symbol_; }
  const SgVariableSymbol* get_symbol() const { return &symbol_; }

private:
  SgVariableSymbol symbol_;
};

// The callee of a call written as a plain name.
class SgFunctionRefExp : public SgExpression {
  SG_NODE_KIND(SgFunctionRefExp)
  SgFunctionRefExp(Sg_File_Info* info, SgName name);
  SgFunctionSymbol* get_symbol() { return &symbol_; }
  const SgFunctionSymbol* get_symbol() const { return &symbol_; }

private:
  SgFunctionSymbol symbol_;
};

// A list of expressions: call arguments and brace initialisers.
class SgExprListExp : public SgExpression {
  SG_NODE_KIND(SgExprListExp)
  explicit SgExprListExp(Sg_File_Info* info, std::vector<SgExpression*> expressions = {});
  std::vector<SgExpression*> get_expressions() const;
  void append_expression(SgExpression* e) { append_successor(e); }
};

// Children: callee, argument list.
class SgFunctionCallExp : public SgExpression {
  SG_NODE_KIND(SgFunctionCallExp)
  SgFunctionCallExp(Sg_File_Info* info, SgExpression* function, SgExprListExp* args);
  SgExpression* get_function() const;
  SgExprListExp* get_args() const;
  // The callee's name when the callee is a plain name, "" otherwise.
  std::string get_callee_name() const;
};

// Children: condition, true expression, false expression.
class SgConditionalExp : public SgExpression {
  SG_NODE_KIND(SgConditionalExp)
  SgConditionalExp(Sg_File_Info* info, SgExpression* cond, SgExpression* t, SgExpression* f);
  SgExpression* get_conditional_exp() const;
  SgExpression* get_true_exp() const;
  SgExpression* get_false_exp() const;
};

// `sizeof expr` (one child) or `sizeof(type)` (a null child and a type).
class SgSizeOfOp : public SgExpression {
  SG_NODE_KIND(SgSizeOfOp)
  SgSizeOfOp(Sg_File_Info* info, SgExpression* operand, SgType* operand_type);
  SgExpression* get_operand_expr() const;
  SgType* get_operand_type() const { return operand_type_; }

private:
  SgType* operand_type_;
};

// The empty increment of a `for` header.
class SgNullExpression : public SgExpression {
  SG_NODE_KIND(SgNullExpression)
  explicit SgNullExpression(Sg_File_Info* info);
};

class SgInitializer : public SgExpression {
protected:
  using SgExpression::SgExpression;
  ~SgInitializer() override = default;
};

// `= expression` of a declarator.
class SgAssignInitializer : public SgInitializer {
  SG_NODE_KIND(SgAssignInitializer)
  SgAssignInitializer(Sg_File_Info* info, SgExpression* operand);
  SgExpression* get_operand() const;
};

// `= { ... }`; the child is an SgExprListExp whose elements may be nested
// SgAggregateInitializers.
class SgAggregateInitializer : public SgInitializer {
  SG_NODE_KIND(SgAggregateInitializer)
  SgAggregateInitializer(Sg_File_Info* info, SgExprListExp* initializers);
  SgExprListExp* get_initializers() const;
};

// ------------------------------------------------------------- statements

class SgStatement : public SgNode {
public:
  // `#include`, `#define` and `#undef` lines that stood right before this
  // item in its block or file; printed by the enclosing block or file only.
  const std::vector<std::string>& get_attached_directives() const { return directives_; }
  void set_attached_directives(std::vector<std::string> d) { directives_ = std::move(d); }

protected:
  using SgNode::SgNode;
  ~SgStatement() override = default;

private:
  std::vector<std::string> directives_;
};

class SgDeclarationStatement : public SgStatement {
protected:
  using SgStatement::SgStatement;
  ~SgDeclarationStatement() override = default;
};

// One declarator with the declaration specifiers it was written with
// (source order, joined by one blank, storage class and `typedef`
// included). Array-bound expressions belong to the type: they are not
// traversal successors. The only child is the initializer or null.
class SgInitializedName : public SgNode {
  SG_NODE_KIND(SgInitializedName)
  SgInitializedName(Sg_File_Info* info, std::string specifiers, std::string pointer, SgName name,
                    std::vector<SgExpression*> bounds, SgInitializer* initializer);
  // Empty for an unnamed parameter.
  const SgName& get_name() const { return name_; }
  // Gives the variable another name; its references keep theirs.
  void set_name(SgName name) { name_ = std::move(name); }
  const std::string& get_specifiers() const { return specifiers_; }
  // "*", "*const *", ...: the pointer part of the declarator, or "".
  const std::string& get_pointer() const { return pointer_; }
  // One entry per `[...]`, null for `[]`.
  const std::vector<SgExpression*>& get_array_bounds() const { return bounds_; }
  SgInitializer* get_initializer() const;

private:
  std::string specifiers_;
  std::string pointer_;
  SgName name_;
  std::vector<SgExpression*> bounds_;
};

// Exactly one declarator per declaration: `int i, j;` gives two nodes.
class SgVariableDeclaration : public SgDeclarationStatement {
  SG_NODE_KIND(SgVariableDeclaration)
  SgVariableDeclaration(Sg_File_Info* info, SgInitializedName* variable);
  std::vector<SgInitializedName*> get_variables() const;
};

// `typedef ...;`, one per declarator. It has no children.
class SgTypedefDeclaration : public SgDeclarationStatement {
  SG_NODE_KIND(SgTypedefDeclaration)
  SgTypedefDeclaration(Sg_File_Info* info, SgInitializedName* declarator);
  const SgName& get_name() const { return declarator_->get_name(); }
  SgInitializedName* get_declarator() const { return declarator_; }

private:
  SgInitializedName* declarator_;
};

// Children: one SgInitializedName per parameter.
class SgFunctionParameterList : public SgNode {
  SG_NODE_KIND(SgFunctionParameterList)
  SgFunctionParameterList(Sg_File_Info* info, std::vector<SgInitializedName*> args, bool ellipsis);
  std::vector<SgInitializedName*> get_args() const;
  // True when the list ends with `...`.
  bool has_ellipsis() const { return ellipsis_; }

private:
  bool ellipsis_;
};

class SgBasicBlock;

// Child: the body.
class SgFunctionDefinition : public SgNode {
  SG_NODE_KIND(SgFunctionDefinition)
  SgFunctionDefinition(Sg_File_Info* info, SgBasicBlock* body);
  SgBasicBlock* get_body() const;
};

// Children: parameter list, definition (null for a prototype).
class SgFunctionDeclaration : public SgDeclarationStatement {
  SG_NODE_KIND(SgFunctionDeclaration)
  SgFunctionDeclaration(Sg_File_Info* info, std::string specifiers, std::string pointer, SgName name,
                        SgFunctionParameterList* params, SgFunctionDefinition* definition);
  const SgName& get_name() const { return name_; }
  const std::string& get_specifiers() const { return specifiers_; }
  const std::string& get_pointer() const { return pointer_; }
  SgFunctionParameterList* get_parameterList() const;
  SgFunctionDefinition* get_definition() const;

private:
  std::string specifiers_;
  std::string pointer_;
  SgName name_;
};

// The text of a `#pragma` line after the word `pragma`, trimmed, comments
// removed, inner spacing kept, macros not expanded. No children.
class SgPragma : public SgNode {
  SG_NODE_KIND(SgPragma)
  SgPragma(Sg_File_Info* info, std::string text);
  const std::string& get_pragma() const { return text_; }

private:
  std::string text_;
};

// Child: the SgPragma.
class SgPragmaDeclaration : public SgDeclarationStatement {
  SG_NODE_KIND(SgPragmaDeclaration)
  SgPragmaDeclaration(Sg_File_Info* info, SgPragma* pragma);
  SgPragma* get_pragma() const;
};

// Child: the expression.
class SgExprStatement : public SgStatement {
  SG_NODE_KIND(SgExprStatement)
  SgExprStatement(Sg_File_Info* info, SgExpression* expression);
  SgExpression* get_expression() const;
};

// Children: the statements of the block, in order.
class SgBasicBlock : public SgStatement {
  SG_NODE_KIND(SgBasicBlock)
  // An empty block, or one holding `first` when it is not null.
  explicit SgBasicBlock(Sg_File_Info* info, SgStatement* first = nullptr);
  std::vector<SgStatement*> get_statements() const;
  void append_statement(SgStatement* s) { append_successor(s); }
  // Directive lines after the last statement.
  const std::vector<std::string>& get_trailing_directives() const { return trailing_; }
  void set_trailing_directives(std::vector<std::string> d) { trailing_ = std::move(d); }

private:
  std::vector<std::string> trailing_;
};

// The initialiser of a `for` header. Children: an SgExprStatement, one or
// more SgVariableDeclarations, or nothing.
class SgForInitStatement : public SgStatement {
  SG_NODE_KIND(SgForInitStatement)
  explicit SgForInitStatement(Sg_File_Info* info, std::vector<SgStatement*> statements = {});
  std::vector<SgStatement*> get_init_stmt() const;
};

// Children: for-init, test (an SgExprStatement, or an SgNullStatement when
// empty), increment (an SgNullExpression when empty), body.
class SgForStatement : public SgStatement {
  SG_NODE_KIND(SgForStatement)
  SgForStatement(Sg_File_Info* info, SgForInitStatement* init, SgStatement* test, SgExpression* increment,
                 SgStatement* body);
  SgForInitStatement* get_for_init_stmt() const;
  std::vector<SgStatement*> get_init_stmt() const;
  SgStatement* get_test() const;
  SgExpression* get_increment() const;
  SgStatement* get_loop_body() const;
};

// Children: conditional (an SgExprStatement), true body, false body (null
// when there is no `else`). Either body may be null in a constructed node;
// it then unparses as `;`.
class SgIfStmt : public SgStatement {
  SG_NODE_KIND(SgIfStmt)
  SgIfStmt(Sg_File_Info* info, SgStatement* conditional, SgStatement* true_body, SgStatement* false_body);
  SgStatement* get_conditional() const;
  SgStatement* get_true_body() const;
  SgStatement* get_false_body() const;
};

// Children: condition (an SgExprStatement), body.
class SgWhileStmt : public SgStatement {
  SG_NODE_KIND(SgWhileStmt)
  SgWhileStmt(Sg_File_Info* info, SgStatement* condition, SgStatement* body);
  SgStatement* get_condition() const;
  SgStatement* get_body() const;
};

// Children: body, condition (an SgExprStatement).
class SgDoWhileStmt : public SgStatement {
  SG_NODE_KIND(SgDoWhileStmt)
  SgDoWhileStmt(Sg_File_Info* info, SgStatement* body, SgStatement* condition);
  SgStatement* get_body() const;
  SgStatement* get_condition() const;
};

// Child: the returned expression or null.
class SgReturnStmt : public SgStatement {
  SG_NODE_KIND(SgReturnStmt)
  SgReturnStmt(Sg_File_Info* info, SgExpression* expression);
  SgExpression* get_expression() const;
};

class SgBreakStmt : public SgStatement {
  SG_NODE_KIND(SgBreakStmt)
  explicit SgBreakStmt(Sg_File_Info* info);
};

class SgContinueStmt : public SgStatement {
  SG_NODE_KIND(SgContinueStmt)
  explicit SgContinueStmt(Sg_File_Info* info);
};

// `;` and the empty test of a `for` header.
class SgNullStatement : public SgStatement {
  SG_NODE_KIND(SgNullStatement)
  explicit SgNullStatement(Sg_File_Info* info);
};

// ---------------------------------------------------------- files, project

// The file scope. Children: its declarations, in order.
class SgGlobal : public SgStatement {
  SG_NODE_KIND(SgGlobal)
  explicit SgGlobal(Sg_File_Info* info);
  std::vector<SgDeclarationStatement*> get_declarations() const;
  void append_declaration(SgDeclarationStatement* d) { append_successor(d); }
  // Directive lines after the last declaration.
  const std::vector<std::string>& get_trailing_directives() const { return trailing_; }
  void set_trailing_directives(std::vector<std::string> d) { trailing_ = std::move(d); }

private:
  std::vector<std::string> trailing_;
};

// Child: the SgGlobal.
class SgSourceFile : public SgNode {
  SG_NODE_KIND(SgSourceFile)
  SgSourceFile(Sg_File_Info* info, std::string name, SgGlobal* global);
  const std::string& getFileName() const { return name_; }
  SgGlobal* get_globalScope() const;

private:
  std::string name_;
};

// A command line and the files parsed from it. Children: the files.
class SgProject : public SgNode {
  SG_NODE_KIND(SgProject)
  SgProject(std::vector<std::string> arguments, std::vector<std::string> file_names);
  // The input names, in argument order, whether parsed or not.
  const std::vector<std::string>& getFileNames() const { return file_names_; }
  // Files parsed successfully (0 = failure).
  int numberOfFiles() const { return static_cast<int>(get_numberOfTraversalSuccessors()); }
  // The whole command line, program name included.
  const std::vector<std::string>& get_originalCommandLineArgumentList() const { return arguments_; }
  std::vector<SgSourceFile*> get_files() const;
  void append_file(SgSourceFile* f) { append_successor(f); }

private:
  std::vector<std::string> arguments_;
  std::vector<std::string> file_names_;
};

#undef SG_NODE_KIND

// ------------------------------------------------------------------ casts

// One `isSgXxx` per class: null for another kind and for a null argument.
#define SG_CAST(Name)                                                          \
  inline Name* is##Name(SgNode* n) { return dynamic_cast<Name*>(n); }          \
  inline const Name* is##Name(const SgNode* n) { return dynamic_cast<const Name*>(n); } \
  inline Name* is##Name(std::nullptr_t) { return nullptr; }
SG_CAST(SgStatement)
SG_CAST(SgDeclarationStatement)
SG_CAST(SgExpression)
SG_CAST(SgValueExp)
SG_CAST(SgUnaryOp)
SG_CAST(SgBinaryOp)
SG_CAST(SgInitializer)
SG_CAST(SgType)
SG_CAST(SgTypeBool)
SG_CAST(SgIntVal)
SG_CAST(SgLongIntVal)
SG_CAST(SgLongLongIntVal)
SG_CAST(SgUnsignedIntVal)
SG_CAST(SgUnsignedLongVal)
SG_CAST(SgUnsignedLongLongIntVal)
SG_CAST(SgFloatVal)
SG_CAST(SgDoubleVal)
SG_CAST(SgLongDoubleVal)
SG_CAST(SgCharVal)
SG_CAST(SgStringVal)
SG_CAST(SgBoolValExp)
SG_CAST(SgMinusOp)
SG_CAST(SgUnaryAddOp)
SG_CAST(SgNotOp)
SG_CAST(SgBitComplementOp)
SG_CAST(SgAddressOfOp)
SG_CAST(SgPointerDerefExp)
SG_CAST(SgPlusPlusOp)
SG_CAST(SgMinusMinusOp)
SG_CAST(SgCastExp)
SG_CAST(SgAddOp)
SG_CAST(SgSubtractOp)
SG_CAST(SgMultiplyOp)
SG_CAST(SgDivideOp)
SG_CAST(SgModOp)
SG_CAST(SgEqualityOp)
SG_CAST(SgNotEqualOp)
SG_CAST(SgLessThanOp)
SG_CAST(SgGreaterThanOp)
SG_CAST(SgLessOrEqualOp)
SG_CAST(SgGreaterOrEqualOp)
SG_CAST(SgAndOp)
SG_CAST(SgOrOp)
SG_CAST(SgBitAndOp)
SG_CAST(SgBitOrOp)
SG_CAST(SgBitXorOp)
SG_CAST(SgLshiftOp)
SG_CAST(SgRshiftOp)
SG_CAST(SgAssignOp)
SG_CAST(SgPlusAssignOp)
SG_CAST(SgMinusAssignOp)
SG_CAST(SgMultAssignOp)
SG_CAST(SgDivAssignOp)
SG_CAST(SgModAssignOp)
SG_CAST(SgAndAssignOp)
SG_CAST(SgIorAssignOp)
SG_CAST(SgXorAssignOp)
SG_CAST(SgLshiftAssignOp)
SG_CAST(SgRshiftAssignOp)
SG_CAST(SgCommaOpExp)
SG_CAST(SgPntrArrRefExp)
SG_CAST(SgDotExp)
SG_CAST(SgArrowExp)
SG_CAST(SgVarRefExp)
SG_CAST(SgFunctionRefExp)
SG_CAST(SgExprListExp)
SG_CAST(SgFunctionCallExp)
SG_CAST(SgConditionalExp)
SG_CAST(SgSizeOfOp)
SG_CAST(SgNullExpression)
SG_CAST(SgAssignInitializer)
SG_CAST(SgAggregateInitializer)
SG_CAST(SgInitializedName)
SG_CAST(SgVariableDeclaration)
SG_CAST(SgTypedefDeclaration)
SG_CAST(SgFunctionParameterList)
SG_CAST(SgFunctionDefinition)
SG_CAST(SgFunctionDeclaration)
SG_CAST(SgPragma)
SG_CAST(SgPragmaDeclaration)
SG_CAST(SgExprStatement)
SG_CAST(SgBasicBlock)
SG_CAST(SgForInitStatement)
SG_CAST(SgForStatement)
SG_CAST(SgIfStmt)
SG_CAST(SgWhileStmt)
SG_CAST(SgDoWhileStmt)
SG_CAST(SgReturnStmt)
SG_CAST(SgBreakStmt)
SG_CAST(SgContinueStmt)
SG_CAST(SgNullStatement)
SG_CAST(SgGlobal)
SG_CAST(SgSourceFile)
SG_CAST(SgProject)
#undef SG_CAST

// ------------------------------------------------------- operator table

// How an operator is written in C. Precedence grows with binding strength:
// 1 comma, 2 assignment, 3 `?:`, 4 `||`, 5 `&&`, 6 `|`, 7 `^`, 8 `&`,
// 9 equality, 10 relational, 11 shift, 12 additive, 13 multiplicative,
// 14 prefix and cast, 15 postfix (subscript, call, member, `x++`).
struct SgOperatorInfo {
  VariantT variant;
  const char* token;  // "+", "+=", "?:", "[]", "()" for a call, "(type)" for a cast
  int arity;          // 1, 2 or 3
  bool postfix;       // unary operators written after their operand
  int precedence;
  bool right_assoc;   // assignments and `?:`
};

// The entry of an operator kind, or null for a node that is no operator
// (literals, references, lists, statements). Static storage; never freed.
const SgOperatorInfo* sg_operator_info(int variant);

// --------------------------------------------------------------- traversals

// Top-down traversal in strict pre-order, document order; null successors
// are skipped. Each evaluation receives its own copy of the parent's
// result; attributes are only ever copy-constructed, never assigned.
template <class InheritedAttribute>
class AstTopDownProcessing {
public:
  virtual ~AstTopDownProcessing() = default;

  void traverse(SgNode* node, InheritedAttribute attribute) {
    if (node) visit(node, attribute);
  }

  // Starts at each file of the project; the project node is not visited.
  void traverseInputFiles(SgProject* project, InheritedAttribute attribute) {
    if (!project) return;
    for (SgNode* file : project->get_traversalSuccessorContainer())
      if (file) visit(file, attribute);
  }

protected:
  // Returns the attribute handed to the children of `node`.
  virtual InheritedAttribute evaluateInheritedAttribute(SgNode* node, InheritedAttribute attribute) = 0;

private:
  void visit(SgNode* node, const InheritedAttribute& attribute) {
    const InheritedAttribute result = evaluateInheritedAttribute(node, attribute);
    for (SgNode* child : node->get_traversalSuccessorContainer())
      if (child) visit(child, result);
  }
};

// Bottom-up traversal in post-order: each node receives one attribute per
// successor, in successor order, the default attribute for a null one.
template <class SynthesizedAttribute>
class AstBottomUpProcessing {
public:
  typedef std::vector<SynthesizedAttribute> SynthesizedAttributesList;
  virtual ~AstBottomUpProcessing() = default;

  // The attribute of `node`; the default attribute for a null node.
  SynthesizedAttribute traverse(SgNode* node) {
    if (!node) return defaultSynthesizedAttribute();
    SynthesizedAttributesList list;
    for (SgNode* child : node->get_traversalSuccessorContainer())
      list.push_back(traverse(child));
    return evaluateSynthesizedAttribute(node, list);
  }

protected:
  virtual SynthesizedAttribute evaluateSynthesizedAttribute(SgNode* node, SynthesizedAttributesList list) = 0;
  virtual SynthesizedAttribute defaultSynthesizedAttribute() { return SynthesizedAttribute(); }
};

// ------------------------------------------------------------ entry point

// Parses the command line and its one input file (an argument that does not
// start with "-", ends in ".c" and is longer than 2 characters; all other
// arguments are ignored). Never exits, never writes to standard output: a
// failure is one line on standard error and a project with
// numberOfFiles() == 0. Keeps no state between calls. The project lives
// until the process ends.
SgProject* frontend(int argc, char** argv);

// The C text of `project`, as unparseToCompleteString() writes it, and in
// `lines` the input line of each of its lines: lines[k] is the line where
// the statement written on line k + 1 begins, or for a line that begins no
// statement (a closing brace, a further declarator), the line of the last
// statement begun before it.
std::string unparse_with_lines(const SgProject* project, std::vector<int>& lines);

// Parses `text` in place of the file `file_name`: line k of `text` stands
// for line lines[k - 1] of that file (0 past the end of `lines`), so that
// positions and the message of a syntax error name the file and its lines,
// without columns. Otherwise as frontend(), with the command line "dummy"
// and `file_name`.
SgProject* frontend_text(const std::string& file_name, const std::string& text, const std::vector<int>& lines);

#endif
