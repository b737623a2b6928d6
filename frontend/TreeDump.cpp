#include "TreeDump.h"

namespace {

std::string quote(const std::string& s) {
  std::string q = "\"";
  for (char c : s) {
    if (c == '"' || c == '\\') q += '\\';
    q += c;
  }
  return q + "\"";
}

std::string list(const std::vector<std::string>& lines) {
  std::string s;
  for (const std::string& l : lines) s += " #" + quote(l);
  return s;
}

std::string attributes(const SgNode* n);

std::string declarator(const SgInitializedName* n) {
  std::string s = " specifiers=" + quote(n->get_specifiers()) + " ptr=" + quote(n->get_pointer()) +
                  " name=" + quote(n->get_name().getString());
  for (const SgExpression* b : n->get_array_bounds()) s += " [" + (b ? dump_tree(b) : std::string()) + "]";
  return s;
}

std::string attributes(const SgNode* n) {
  std::string s;
  if (const SgStatement* st = isSgStatement(n)) s += list(st->get_attached_directives());
  if (const SgBasicBlock* b = isSgBasicBlock(n)) s += " trailing" + list(b->get_trailing_directives());
  if (const SgGlobal* g = isSgGlobal(n)) s += " trailing" + list(g->get_trailing_directives());
  if (const SgValueExp* v = isSgValueExp(n)) s += " " + v->get_valueString();
  if (const SgVarRefExp* v = isSgVarRefExp(n)) s += " " + v->get_symbol()->get_name().getString();
  if (const SgFunctionRefExp* f = isSgFunctionRefExp(n)) s += " " + f->get_symbol()->get_name().getString();
  if (const SgPragma* p = isSgPragma(n)) s += " " + quote(p->get_pragma());
  if (const SgUnaryOp* u = isSgUnaryOp(n)) s += u->get_mode() == SgUnaryOp::postfix ? " postfix" : "";
  if (const SgCastExp* c = isSgCastExp(n)) s += " type=" + quote(c->get_type() ? c->get_type()->get_text() : "");
  if (const SgSizeOfOp* z = isSgSizeOfOp(n))
    s += " type=" + quote(z->get_operand_type() ? z->get_operand_type()->get_text() : "");
  if (const SgInitializedName* i = isSgInitializedName(n)) s += declarator(i);
  if (const SgTypedefDeclaration* t = isSgTypedefDeclaration(n)) s += declarator(t->get_declarator());
  if (const SgFunctionDeclaration* f = isSgFunctionDeclaration(n))
    s += " specifiers=" + quote(f->get_specifiers()) + " ptr=" + quote(f->get_pointer()) +
         " name=" + quote(f->get_name().getString());
  if (const SgFunctionParameterList* l = isSgFunctionParameterList(n)) s += l->has_ellipsis() ? " ..." : "";
  return s;
}

void dump(const SgNode* n, int level, std::string& out) {
  out += std::string(2 * static_cast<std::size_t>(level), ' ');
  if (!n) {
    out += "null\n";
    return;
  }
  out += "(" + n->class_name() + " " + std::to_string(n->variantT()) + attributes(n) + "\n";
  for (const SgNode* c : n->get_traversalSuccessorContainer()) dump(c, level + 1, out);
  out += std::string(2 * static_cast<std::size_t>(level), ' ') + ")\n";
}

}  // namespace

std::string dump_tree(const SgNode* root) {
  std::string out;
  dump(root, 0, out);
  return out;
}
