#include "HoistedDeclaration.h"

#include <algorithm>
#include <cctype>
#include <iostream>
#include <set>
#include <sstream>
#include <vector>

#include "Stop.h"
#include "SyntaxTree.h"

bool is_constant_expression(SgExpression* e, const std::function<bool(const std::string&)>& readable) {
  if (!e) return true;
  switch (e->variantT()) {
    case V_SgVarRefExp:
      return readable && readable(isSgVarRefExp(e)->get_symbol()->get_name().getString());
    case V_SgFunctionCallExp: case V_SgAssignOp: case V_SgPlusAssignOp:
    case V_SgMinusAssignOp: case V_SgMultAssignOp: case V_SgDivAssignOp: case V_SgModAssignOp:
    case V_SgAndAssignOp: case V_SgIorAssignOp: case V_SgXorAssignOp: case V_SgLshiftAssignOp:
    case V_SgRshiftAssignOp: case V_SgPlusPlusOp: case V_SgMinusMinusOp:
      return false;
    default:
      break;
  }
  for (SgNode* child : e->get_traversalSuccessorContainer())
    if (child && (!isSgExpression(child) || !is_constant_expression(isSgExpression(child), readable))) return false;
  return true;
}

bool has_variable_length(const SgInitializedName* v, bool parameter) {
  const std::vector<SgExpression*>& bounds = v->get_array_bounds();
  for (size_t k = parameter ? 1 : 0; k < bounds.size(); k++)
    if (!is_constant_expression(bounds[k])) return true;
  return false;
}

namespace {

// The keywords of C++20 that are identifiers in C.
const std::set<std::string> cxx_keywords = {
    "alignas", "alignof", "and", "and_eq", "asm", "bitand", "bitor", "bool", "catch", "char8_t",
    "char16_t", "char32_t", "class", "compl", "concept", "consteval", "constexpr", "constinit",
    "const_cast", "co_await", "co_return", "co_yield", "decltype", "delete", "dynamic_cast",
    "explicit", "export", "false", "friend", "mutable", "namespace", "new", "noexcept", "not",
    "not_eq", "nullptr", "operator", "or", "or_eq", "private", "protected", "public",
    "reinterpret_cast", "requires", "static_assert", "static_cast", "template", "this",
    "thread_local", "throw", "true", "try", "typeid", "typename", "using", "virtual", "wchar_t",
    "xor", "xor_eq"};

}  // namespace

std::string cxx_keyword_reason(const std::string& name) {
  if (cxx_keywords.count(name)) return "a C++ keyword";
  // g++ compiles GNU C++ unless told otherwise, in which typeof is one.
  if (name == "typeof") return "a keyword of GNU C++";
  return "";
}

void check_hoisted_name(const std::string& name, const std::string& text) {
  std::string why = cxx_keyword_reason(name);
  if (name == "tiled_kernel") why = "its own function";
  else if (name == "main" || name == "std") why = "reserved in C++";
  if (!why.empty())
    stop(std::cout, "Program::from_Sage: the tiled code, in C++, cannot declare " + name + " at file scope (" + why +
                        "): " + text);
}

namespace {

std::vector<std::string> words_of(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

// The words of `text` but "const".
std::vector<std::string> without_const(const std::string& text) {
  std::vector<std::string> words = words_of(text);
  words.erase(std::remove(words.begin(), words.end(), "const"), words.end());
  return words;
}

}  // namespace

namespace {

bool has_word(const std::string& text, const char* word) {
  std::vector<std::string> words = words_of(text);
  return std::find(words.begin(), words.end(), word) != words.end();
}

// Whether the variable itself is const: its specifiers say so without a
// pointer part, else the qualifiers after the pointer part's last '*'.
bool is_own_const(const SgInitializedName* v) {
  const std::string& pointer = v->get_pointer();
  size_t star = pointer.rfind('*');
  return star == std::string::npos ? has_word(v->get_specifiers(), "const")
                                   : has_word(pointer.substr(star + 1), "const");
}

}  // namespace

bool is_static(const SgInitializedName* v) { return has_word(v->get_specifiers(), "static"); }

bool is_extern(const SgInitializedName* v) { return has_word(v->get_specifiers(), "extern"); }

bool is_reassignable(const SgInitializedName* v) { return !is_static(v) && !is_extern(v) && !is_own_const(v); }

bool is_uninitialised_const(const SgInitializedName* v) {
  return !v->get_initializer() && is_own_const(v) && !is_extern(v);
}

std::string declaration_without_initialiser(SgInitializedName* v) {
  // The variable's own qualifiers are the specifiers' without a pointer,
  // else those after the last '*' of the pointer part ("*const ").
  std::string specifiers = v->get_specifiers();
  std::string pointer = v->get_pointer();
  size_t star = pointer.rfind('*');
  if (star == std::string::npos) {
    specifiers.clear();
    for (const std::string& w : without_const(v->get_specifiers())) specifiers += (specifiers.empty() ? "" : " ") + w;
  } else {
    std::string qualifiers = pointer.substr(star + 1);
    pointer.erase(star + 1);
    for (const std::string& w : without_const(qualifiers)) pointer += w + " ";
  }
  SgInitializedName* bare =
      new SgInitializedName(v->get_file_info(), specifiers, pointer, v->get_name(), v->get_array_bounds(), nullptr);
  return bare->unparseToString() + ";";
}

std::string parameter_declaration(SgInitializedName* v) {
  const std::vector<SgExpression*>& bounds = v->get_array_bounds();
  if (bounds.empty()) return declaration_without_initialiser(v);
  std::string rows;
  for (size_t k = 1; k < bounds.size(); k++) rows += "[" + bounds[k]->unparseToString() + "]";
  std::string name = v->get_name().getString();
  std::string pointer = rows.empty() ? "*" + name : "(*" + name + ")";
  return v->get_specifiers() + " " + v->get_pointer() + pointer + rows + ";";
}

std::string function_head(SgFunctionDeclaration* f) {
  std::string parameters = f->get_parameterList() ? f->get_parameterList()->unparseToString() : "";
  return f->get_specifiers() + " " + f->get_pointer() + f->get_name().getString() + "(" + parameters + ")";
}

namespace {

bool is_word_char(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The end of the literal opened by the quote at `at`.
size_t literal_end(const std::string& text, size_t at) {
  size_t k = at + 1;
  while (k < text.size() && text[k] != text[at]) k += text[k] == '\\' ? 2 : 1;
  return std::min(k + 1, text.size());
}

}  // namespace

std::string cxx_text(const std::string& text) {
  std::string out;
  size_t k = 0;
  while (k < text.size()) {
    size_t end = k + 1;
    if (text[k] == '"' || text[k] == '\'') {
      end = literal_end(text, k);
    } else if (is_word_char(text[k])) {
      while (end < text.size() && is_word_char(text[end])) end++;
      std::string word = text.substr(k, end - k);
      if (word == "_Bool") word = "bool";
      if (word == "restrict" || word == "register" || word == "auto") {
        while (end < text.size() && text[end] == ' ') end++;
        k = end;
        continue;
      }
      out += word;
      k = end;
      continue;
    }
    out += text.substr(k, end - k);
    k = end;
  }
  return out;
}
