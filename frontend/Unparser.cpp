// C text of syntax trees. The layout is fixed (two blanks per level, one
// statement or declaration per line, braces where the source had them), so
// that parsing the text again gives the same tree and the same text.
#include <algorithm>

#include "SyntaxTree.h"

namespace {

const SgOperatorInfo kOperators[] = {
    {V_SgCommaOpExp, ",", 2, false, 1, false},
    {V_SgAssignOp, "=", 2, false, 2, true},
    {V_SgPlusAssignOp, "+=", 2, false, 2, true},
    {V_SgMinusAssignOp, "-=", 2, false, 2, true},
    {V_SgMultAssignOp, "*=", 2, false, 2, true},
    {V_SgDivAssignOp, "/=", 2, false, 2, true},
    {V_SgModAssignOp, "%=", 2, false, 2, true},
    {V_SgAndAssignOp, "&=", 2, false, 2, true},
    {V_SgIorAssignOp, "|=", 2, false, 2, true},
    {V_SgXorAssignOp, "^=", 2, false, 2, true},
    {V_SgLshiftAssignOp, "<<=", 2, false, 2, true},
    {V_SgRshiftAssignOp, ">>=", 2, false, 2, true},
    {V_SgConditionalExp, "?:", 3, false, 3, true},
    {V_SgOrOp, "||", 2, false, 4, false},
    {V_SgAndOp, "&&", 2, false, 5, false},
    {V_SgBitOrOp, "|", 2, false, 6, false},
    {V_SgBitXorOp, "^", 2, false, 7, false},
    {V_SgBitAndOp, "&", 2, false, 8, false},
    {V_SgEqualityOp, "==", 2, false, 9, false},
    {V_SgNotEqualOp, "!=", 2, false, 9, false},
    {V_SgLessThanOp, "<", 2, false, 10, false},
    {V_SgGreaterThanOp, ">", 2, false, 10, false},
    {V_SgLessOrEqualOp, "<=", 2, false, 10, false},
    {V_SgGreaterOrEqualOp, ">=", 2, false, 10, false},
    {V_SgLshiftOp, "<<", 2, false, 11, false},
    {V_SgRshiftOp, ">>", 2, false, 11, false},
    {V_SgAddOp, "+", 2, false, 12, false},
    {V_SgSubtractOp, "-", 2, false, 12, false},
    {V_SgMultiplyOp, "*", 2, false, 13, false},
    {V_SgDivideOp, "/", 2, false, 13, false},
    {V_SgModOp, "%", 2, false, 13, false},
    {V_SgMinusOp, "-", 1, false, 14, false},
    {V_SgUnaryAddOp, "+", 1, false, 14, false},
    {V_SgNotOp, "!", 1, false, 14, false},
    {V_SgBitComplementOp, "~", 1, false, 14, false},
    {V_SgAddressOfOp, "&", 1, false, 14, false},
    {V_SgPointerDerefExp, "*", 1, false, 14, false},
    {V_SgCastExp, "(type)", 1, false, 14, false},
    {V_SgSizeOfOp, "sizeof", 1, false, 14, false},
    {V_SgPntrArrRefExp, "[]", 2, false, 15, false},
    {V_SgFunctionCallExp, "()", 2, false, 15, false},
    {V_SgDotExp, ".", 2, false, 15, false},
    {V_SgArrowExp, "->", 2, false, 15, false},
};

// `++` and `--` depend on the node's mode, so they are looked up here.
const SgOperatorInfo kPrefixInc = {V_SgPlusPlusOp, "++", 1, false, 14, false};
const SgOperatorInfo kPostfixInc = {V_SgPlusPlusOp, "++", 1, true, 15, false};
const SgOperatorInfo kPrefixDec = {V_SgMinusMinusOp, "--", 1, false, 14, false};
const SgOperatorInfo kPostfixDec = {V_SgMinusMinusOp, "--", 1, true, 15, false};

const int kPrimary = 16;

const SgOperatorInfo* operator_of(const SgNode* n) {
  if (const SgUnaryOp* u = isSgUnaryOp(n)) {
    bool post = u->get_mode() == SgUnaryOp::postfix;
    if (isSgPlusPlusOp(n)) return post ? &kPostfixInc : &kPrefixInc;
    if (isSgMinusMinusOp(n)) return post ? &kPostfixDec : &kPrefixDec;
  }
  return sg_operator_info(n->variantT());
}

std::string pad(int level) { return std::string(2 * static_cast<std::size_t>(level), ' '); }

std::string rtrim(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

class Unparser {
public:
  std::string text;
  // Where each statement begins: its offset in `text` and its input line.
  std::vector<std::pair<std::size_t, int>> starts;

  std::string expr(const SgExpression* e, int min_precedence) const;
  std::string declaration(const SgInitializedName* n, bool with_specifiers) const;
  std::string function_head(const SgFunctionDeclaration* f) const;
  std::string for_init(const SgForInitStatement* init) const;
  void items(const std::vector<SgNode*>& children, const std::vector<std::string>& trailing, int level);
  void statement(const SgStatement* s, int level);

private:
  std::string operand(const SgExpression* e) const;
  std::string expr_list(const SgExprListExp* l) const;
  std::string initializer(const SgInitializer* i) const;
  std::string binary(const SgBinaryOp* b, const SgOperatorInfo& op) const;
  bool open_body(const SgStatement* body, int level);
  void if_statement(const SgIfStmt* s, int level, const std::string& lead);
  void block(const SgBasicBlock* b, int level);
};

// ------------------------------------------------------------- expressions

// The operand of a prefix operator or cast: parenthesised when it is a
// prefix operator itself, so that `- -x` never becomes `--x`.
std::string Unparser::operand(const SgExpression* e) const {
  const SgOperatorInfo* op = e ? operator_of(e) : nullptr;
  if (op && op->arity == 1 && !op->postfix) return "(" + expr(e, 0) + ")";
  return expr(e, 14);
}

std::string Unparser::expr_list(const SgExprListExp* l) const {
  std::string s;
  for (const SgExpression* e : l->get_expressions()) {
    if (!s.empty()) s += ", ";
    const SgInitializer* init = isSgInitializer(e);
    s += init ? initializer(init) : expr(e, 2);
  }
  return s;
}

std::string Unparser::initializer(const SgInitializer* i) const {
  if (const SgAggregateInitializer* a = isSgAggregateInitializer(i))
    return "{" + (a->get_initializers() ? expr_list(a->get_initializers()) : "") + "}";
  return expr(isSgAssignInitializer(i)->get_operand(), 2);
}

std::string Unparser::binary(const SgBinaryOp* b, const SgOperatorInfo& op) const {
  const SgExpression* l = b->get_lhs_operand();
  const SgExpression* r = b->get_rhs_operand();
  switch (b->variantT()) {
    case V_SgPntrArrRefExp: return expr(l, 15) + "[" + expr(r, 0) + "]";
    case V_SgDotExp: return expr(l, 15) + "." + expr(r, kPrimary);
    case V_SgArrowExp: return expr(l, 15) + "->" + expr(r, kPrimary);
    case V_SgCommaOpExp: return expr(l, 1) + ", " + expr(r, 2);
    default: break;
  }
  int p = op.precedence;
  return expr(l, op.right_assoc ? p + 1 : p) + " " + op.token + " " + expr(r, op.right_assoc ? p : p + 1);
}

std::string Unparser::expr(const SgExpression* e, int min_precedence) const {
  if (!e) return "";
  std::string s;
  int p = kPrimary;
  const SgOperatorInfo* op = operator_of(e);
  if (op) p = op->precedence;
  if (const SgValueExp* v = isSgValueExp(e)) {
    s = v->get_valueString();
  } else if (const SgVarRefExp* v = isSgVarRefExp(e)) {
    s = v->get_symbol()->get_name().getString();
  } else if (const SgFunctionRefExp* f = isSgFunctionRefExp(e)) {
    s = f->get_symbol()->get_name().getString();
  } else if (const SgExprListExp* l = isSgExprListExp(e)) {
    s = expr_list(l);
  } else if (const SgInitializer* i = isSgInitializer(e)) {
    s = initializer(i);
  } else if (const SgFunctionCallExp* c = isSgFunctionCallExp(e)) {
    s = expr(c->get_function(), 15) + "(" + (c->get_args() ? expr_list(c->get_args()) : "") + ")";
  } else if (const SgSizeOfOp* z = isSgSizeOfOp(e)) {
    s = "sizeof(" + (z->get_operand_type() ? z->get_operand_type()->get_text() : expr(z->get_operand_expr(), 0)) + ")";
  } else if (const SgConditionalExp* c = isSgConditionalExp(e)) {
    s = expr(c->get_conditional_exp(), 4) + " ? " + expr(c->get_true_exp(), 0) + " : " + expr(c->get_false_exp(), 3);
  } else if (const SgCastExp* c = isSgCastExp(e)) {
    s = "(" + (c->get_type() ? c->get_type()->get_text() : std::string("int")) + ")" + operand(c->get_operand());
  } else if (const SgUnaryOp* u = isSgUnaryOp(e)) {
    s = op->postfix ? expr(u->get_operand(), 15) + op->token : op->token + operand(u->get_operand());
  } else if (const SgBinaryOp* b = isSgBinaryOp(e)) {
    s = binary(b, *op);
  }
  return p < min_precedence ? "(" + s + ")" : s;
}

// ------------------------------------------------------------ declarations

// `<specifiers> <declarator>[ = <initializer>]`, without `;`.
std::string Unparser::declaration(const SgInitializedName* n, bool with_specifiers) const {
  std::string d = n->get_pointer() + n->get_name().getString();
  for (const SgExpression* b : n->get_array_bounds()) d += "[" + expr(b, 0) + "]";
  d = rtrim(d);
  std::string s = with_specifiers ? n->get_specifiers() : "";
  if (!d.empty()) s += (s.empty() ? "" : " ") + d;
  if (n->get_initializer()) s += " = " + initializer(n->get_initializer());
  return s;
}

std::string Unparser::function_head(const SgFunctionDeclaration* f) const {
  std::string s = f->get_specifiers() + " " + f->get_pointer() + f->get_name().getString() + "(";
  const SgFunctionParameterList* params = f->get_parameterList();
  std::string list;
  if (params) {
    for (const SgInitializedName* a : params->get_args()) list += (list.empty() ? "" : ", ") + declaration(a, true);
    if (params->has_ellipsis()) list += list.empty() ? "..." : ", ...";
  }
  return s + list + ")";
}

std::string Unparser::for_init(const SgForInitStatement* init) const {
  std::string s;
  for (const SgStatement* st : init->get_init_stmt()) {
    if (const SgExprStatement* e = isSgExprStatement(st)) {
      s += (s.empty() ? "" : ", ") + expr(e->get_expression(), 0);
    } else if (const SgVariableDeclaration* v = isSgVariableDeclaration(st)) {
      for (const SgInitializedName* n : v->get_variables()) s += s.empty() ? declaration(n, true) : ", " + declaration(n, false);
    }
  }
  return s;
}

// -------------------------------------------------------------- statements

void Unparser::items(const std::vector<SgNode*>& children, const std::vector<std::string>& trailing, int level) {
  for (const SgNode* c : children) {
    const SgStatement* s = isSgStatement(c);
    if (!s) continue;
    for (const std::string& d : s->get_attached_directives()) text += d + "\n";
    statement(s, level);
  }
  for (const std::string& d : trailing) text += d + "\n";
}

void Unparser::block(const SgBasicBlock* b, int level) {
  text += "{\n";
  items(b->get_traversalSuccessorContainer(), b->get_trailing_directives(), level + 1);
  text += pad(level) + "}";
}

// Writes the body after a statement head. A block opens on the head's line
// and the text then stops after its `}` (true); any other body goes on the
// next lines, one level deeper, ending with a newline (false).
bool Unparser::open_body(const SgStatement* body, int level) {
  if (const SgBasicBlock* b = isSgBasicBlock(body)) {
    text += " ";
    block(b, level);
    return true;
  }
  text += "\n";
  statement(body, level + 1);
  return false;
}

void Unparser::if_statement(const SgIfStmt* s, int level, const std::string& lead) {
  const SgExprStatement* c = isSgExprStatement(s->get_conditional());
  text += lead + "if (" + (c ? expr(c->get_expression(), 0) : "") + ")";
  bool braced = open_body(s->get_true_body(), level);
  const SgStatement* f = s->get_false_body();
  if (!f) {
    if (braced) text += "\n";
    return;
  }
  std::string else_lead = braced ? " else" : pad(level) + "else";
  if (const SgIfStmt* chained = isSgIfStmt(f)) return if_statement(chained, level, else_lead + " ");
  text += else_lead;
  if (open_body(f, level)) text += "\n";
}

void Unparser::statement(const SgStatement* s, int level) {
  std::string in = pad(level);
  if (s && s->get_file_info()) starts.emplace_back(text.size(), s->get_file_info()->get_line());
  if (!s) {
    text += in + ";\n";
  } else if (const SgBasicBlock* b = isSgBasicBlock(s)) {
    text += in;
    block(b, level);
    text += "\n";
  } else if (const SgExprStatement* e = isSgExprStatement(s)) {
    text += in + expr(e->get_expression(), 0) + ";\n";
  } else if (const SgVariableDeclaration* v = isSgVariableDeclaration(s)) {
    for (const SgInitializedName* n : v->get_variables()) text += in + declaration(n, true) + ";\n";
  } else if (const SgTypedefDeclaration* t = isSgTypedefDeclaration(s)) {
    text += in + declaration(t->get_declarator(), true) + ";\n";
  } else if (const SgPragmaDeclaration* p = isSgPragmaDeclaration(s)) {
    text += in + "#pragma " + (p->get_pragma() ? p->get_pragma()->get_pragma() : "") + "\n";
  } else if (const SgFunctionDeclaration* f = isSgFunctionDeclaration(s)) {
    text += in + function_head(f);
    const SgFunctionDefinition* def = f->get_definition();
    if (def && open_body(def->get_body(), level)) text += "\n";
    if (!def) text += ";\n";
  } else if (const SgForStatement* f = isSgForStatement(s)) {
    const SgExprStatement* test = isSgExprStatement(f->get_test());
    const SgExpression* incr = f->get_increment();
    text += in + "for (" + (f->get_for_init_stmt() ? for_init(f->get_for_init_stmt()) : "") + ";" +
            (test ? " " + expr(test->get_expression(), 0) : "") + ";" +
            (incr && !isSgNullExpression(incr) ? " " + expr(incr, 0) : "") + ")";
    if (open_body(f->get_loop_body(), level)) text += "\n";
  } else if (const SgIfStmt* i = isSgIfStmt(s)) {
    if_statement(i, level, in);
  } else if (const SgWhileStmt* w = isSgWhileStmt(s)) {
    const SgExprStatement* c = isSgExprStatement(w->get_condition());
    text += in + "while (" + (c ? expr(c->get_expression(), 0) : "") + ")";
    if (open_body(w->get_body(), level)) text += "\n";
  } else if (const SgDoWhileStmt* d = isSgDoWhileStmt(s)) {
    const SgExprStatement* c = isSgExprStatement(d->get_condition());
    text += in + "do";
    std::string tail = "while (" + (c ? expr(c->get_expression(), 0) : "") + ");\n";
    text += open_body(d->get_body(), level) ? " " + tail : in + tail;
  } else if (const SgReturnStmt* r = isSgReturnStmt(s)) {
    text += in + (r->get_expression() ? "return " + expr(r->get_expression(), 0) + ";\n" : "return;\n");
  } else if (isSgBreakStmt(s)) {
    text += in + "break;\n";
  } else if (isSgContinueStmt(s)) {
    text += in + "continue;\n";
  } else if (isSgNullStatement(s)) {
    text += in + ";\n";
  } else if (const SgGlobal* g = isSgGlobal(s)) {
    items(g->get_traversalSuccessorContainer(), g->get_trailing_directives(), level);
  } else if (const SgForInitStatement* f = isSgForInitStatement(s)) {
    text += for_init(f);
  }
}

std::string strip_newline(std::string s) {
  if (!s.empty() && s.back() == '\n') s.pop_back();
  return s;
}

}  // namespace

const SgOperatorInfo* sg_operator_info(int variant) {
  if (variant == V_SgPlusPlusOp) return &kPrefixInc;
  if (variant == V_SgMinusMinusOp) return &kPrefixDec;
  auto it = std::find_if(std::begin(kOperators), std::end(kOperators),
                         [variant](const SgOperatorInfo& o) { return o.variant == variant; });
  return it == std::end(kOperators) ? nullptr : it;
}

std::string SgNode::unparseToString() const {
  Unparser u;
  if (const SgProject* p = isSgProject(this)) {
    for (const SgSourceFile* f : p->get_files()) u.statement(f->get_globalScope(), 0);
    return u.text;
  }
  if (const SgSourceFile* f = isSgSourceFile(this)) {
    u.statement(f->get_globalScope(), 0);
    return u.text;
  }
  if (isSgGlobal(this)) {
    u.statement(isSgGlobal(this), 0);
    return u.text;
  }
  if (const SgStatement* s = isSgStatement(this)) {
    u.statement(s, 0);
    return strip_newline(u.text);
  }
  if (const SgExpression* e = isSgExpression(this)) return u.expr(e, 0);
  if (const SgInitializedName* n = isSgInitializedName(this)) return u.declaration(n, true);
  if (const SgPragma* p = isSgPragma(this)) return "#pragma " + p->get_pragma();
  if (const SgType* t = isSgType(this)) return t->get_text();
  if (const SgFunctionDefinition* d = isSgFunctionDefinition(this)) {
    u.statement(d->get_body(), 0);
    return strip_newline(u.text);
  }
  if (const SgFunctionParameterList* l = isSgFunctionParameterList(this)) {
    std::string s;
    for (const SgInitializedName* a : l->get_args()) s += (s.empty() ? "" : ", ") + u.declaration(a, true);
    if (l->has_ellipsis()) s += s.empty() ? "..." : ", ...";
    return s;
  }
  return "";
}

std::string SgNode::unparseToCompleteString() const { return unparseToString(); }

std::string unparse_with_lines(const SgProject* project, std::vector<int>& lines) {
  Unparser u;
  for (const SgSourceFile* f : project->get_files()) u.statement(f->get_globalScope(), 0);
  lines.clear();
  std::size_t next = 0;  // the first start not yet passed
  int line = 0;
  for (std::size_t begin = 0; begin < u.text.size();) {
    std::size_t end = u.text.find('\n', begin);
    end = end == std::string::npos ? u.text.size() : end + 1;
    // The last statement that begins before this line ends.
    while (next < u.starts.size() && u.starts[next].first < end) line = u.starts[next++].second;
    lines.push_back(line);
    begin = end;
  }
  return u.text;
}
