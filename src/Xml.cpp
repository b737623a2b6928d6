#include "Xml.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <iostream>
#include <sstream>

#include "Stop.h"

// The generated reader's interface (xml_lexer.l, xml_parser.y).
extern FILE* ttin;
extern int lineno_xml;
extern Xml* output_xml;
void ttrestart(FILE* input);
int ttlex_destroy();
int ttparse();

namespace {

bool in_text_set(unsigned char c) {
  return std::isalnum(c) || c == ' ' || c == '\'' || c == '(' || c == ')' || c == '*' ||
         c == '-' || c == '.' || c == ';' || c == '_';
}

std::string escaped(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (in_text_set(c) && c != '\'') {
      out += static_cast<char>(c);
    } else {
      char code[5];
      std::snprintf(code, sizeof code, "'%03d", c);
      out += code;
    }
  }
  return out;
}

[[noreturn]] void bad_escape(const std::string& text) {
  stop(std::cerr, "Xml::from_xml: bad escape in text: " + text);
}

std::string unescaped(const std::string& text) {
  std::string out;
  for (size_t k = 0; k < text.size(); k++) {
    if (text[k] != '\'') {
      out += text[k];
      continue;
    }
    if (k + 3 >= text.size()) bad_escape(text);
    int code = 0;
    for (size_t d = k + 1; d <= k + 3; d++) {
      if (!std::isdigit(static_cast<unsigned char>(text[d]))) bad_escape(text);
      code = 10 * code + (text[d] - '0');
    }
    if (code > 255) bad_escape(text);
    out += static_cast<char>(code);
    k += 3;
  }
  return out;
}

// The atoi reading of a leaf, refusing what an int cannot hold.
int atoi_checked(const std::string& text) {
  size_t k = 0;
  while (k < text.size() && std::isspace(static_cast<unsigned char>(text[k]))) k++;
  bool negative = false;
  if (k < text.size() && (text[k] == '-' || text[k] == '+')) negative = text[k++] == '-';
  long long value = 0;
  for (; k < text.size() && std::isdigit(static_cast<unsigned char>(text[k])); k++) {
    value = 10 * value + (text[k] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1)
      stop(std::cerr, "Xml::int_value: value out of range: " + text);
  }
  if (negative) value = -value;
  if (value > INT_MAX) stop(std::cerr, "Xml::int_value: value out of range: " + text);
  return static_cast<int>(value);
}

}  // namespace

Xml::Xml() : is_leaf(1), leaf_value("(empty)") {}

Xml::Xml(std::string file) : Xml() {
  FILE* input = std::fopen(file.c_str(), "r");
  if (!input) stop(std::cerr, "Xml::Xml: File not found: " + file);
  lineno_xml = 1;
  ttin = input;
  ttrestart(input);
  ttparse();
  *this = std::move(*output_xml);
  delete output_xml;
  output_xml = nullptr;
  ttlex_destroy();
  std::fclose(input);
}

void Xml::operator=(const std::string& text) {
  is_leaf = 1;
  leaf_value = text;
}

Xml& Xml::operator[](const std::string& tag) {
  is_leaf = 0;
  return son[tag];
}

const Xml& Xml::operator[](const std::string& tag) const {
  auto found = son.find(tag);
  if (found == son.end()) stop(std::cerr, "Xml::read[]: node " + tag + " not found");
  return found->second;
}

std::string Xml::string_value() const {
  if (!is_leaf) stop(std::cerr, "Xml::string_value: not a leaf");
  return leaf_value;
}

int Xml::int_value() const {
  if (!is_leaf) stop(std::cerr, "Xml::int_value: not a leaf");
  return atoi_checked(leaf_value);
}

double Xml::double_value() const {
  if (!is_leaf) stop(std::cerr, "Xml::double_value: not a leaf");
  std::istringstream in(leaf_value);
  double value = 0.0;
  if (!(in >> value)) return 0.0;
  return value;
}

std::ostream& operator<<(std::ostream& os, const Xml& node) {
  if (node.is_leaf) return os << node.leaf_value;
  for (const auto& child : node.son) {
    open_tag(os, child.first);
    os << child.second;
    close_tag(os, child.first);
  }
  return os;
}

void open_tag(std::ostream& os, const std::string& name) { os << "<" << name << ">"; }

void close_tag(std::ostream& os, const std::string& name) { os << "</" << name << ">"; }

int str_to_int(const std::string& s) {
  std::istringstream in(s);
  int value = 0;
  if (!(in >> value)) return 0;
  return value;
}

std::string int_to_str(int n) { return std::to_string(n); }

void print_xml(std::ostream& os, const std::string& tag, int value) {
  open_tag(os, tag);
  os << int_to_str(value);
  close_tag(os, tag);
}

void print_xml(std::ostream& os, const std::string& tag, const std::string& value) {
  open_tag(os, tag);
  os << escaped(value);
  close_tag(os, tag);
}

void print_xml(std::ostream& os, const std::string& tag, const char* value) {
  print_xml(os, tag, std::string(value));
}

void from_xml(int& value, const Xml& node) { value = node.int_value(); }

void from_xml(std::string& value, const Xml& node) { value = unescaped(node.string_value()); }

std::string element_tag(int k) { return "item" + int_to_str(k); }

int element_index(const std::string& tag) {
  std::istringstream in(tag.size() > 4 ? tag.substr(4) : "");
  int k = -1;
  if (tag.size() < 5 || !(in >> k) || k < 0) stop(std::cerr, "Xml::from_xml: bad element tag: " + tag);
  return k;
}

void check_indices(const std::vector<int>& sorted_indices) {
  for (size_t k = 0; k < sorted_indices.size(); k++)
    if (sorted_indices[k] != static_cast<int>(k))
      stop(std::cerr, "Xml::from_xml: no element with index " + int_to_str(static_cast<int>(k)));
}

int is_empty_element(const Xml& node) { return node.is_leaf && node.leaf_value.empty(); }
