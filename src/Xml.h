#ifndef TARVEX_XML_H
#define TARVEX_XML_H

// Saving and loading model objects as a small tag-only dialect of XML.
//
// Writing streams text directly: every writer of the print_xml family writes
// exactly one element named by the tag its caller passes. Reading goes
// through a document tree: Xml(file) parses the whole file, then each reader
// of the from_xml family (and each class's constructor from Xml const&) is
// handed the node of one element and looks its children up by tag.
//
// The dialect has no attributes, entities or white space of its own; a text
// run may only hold the 71 characters of the text set (blank, "'", "(",
// ")", "*", "-", ".", digits, ";", letters, "_"). Strings are therefore
// written with every other byte, and "'" itself, as "'" and three decimal
// digits of its value, so that any string reloads byte for byte.
//
// Every failure writes one line on standard error and exits with status 1,
// except the generated scanner's own read errors, which exit with status 2.

#include <list>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

class Xml {
 public:
  int is_leaf;             // 1: the content is leaf_value; 0: the children
  std::string leaf_value;  // text of a leaf (an inner node's is never written)
  std::map<std::string, Xml> son;  // children by tag, byte-wise tag order

  // The default node: a leaf "(empty)".
  Xml();
  // The whole document held in `file`: the root is a leaf with the text of a
  // document without elements, else an inner node over its top-level
  // elements. A missing file or a malformed document stops the run.
  explicit Xml(std::string file);

  // Makes the node a leaf holding `text`; old children stay findable.
  void operator=(const std::string& text);
  // Builder side: makes the node inner and returns the child under `tag`,
  // inserting a default node when there is none.
  Xml& operator[](const std::string& tag);
  // Reader side: the child under `tag`; a missing one stops the run.
  const Xml& operator[](const std::string& tag) const;

  // The text of a leaf (raw, not unescaped); an inner node stops the run.
  std::string string_value() const;
  // The text as atoi reads it (no number gives 0); a number outside the int
  // range, or an inner node, stops the run.
  int int_value() const;
  // The text read as a decimal number (no number gives 0.0).
  double double_value() const;
};

// The tree as text: a leaf's text, or each child in tag order as an element.
std::ostream& operator<<(std::ostream& os, const Xml& node);

void open_tag(std::ostream& os, const std::string& name);
void close_tag(std::ostream& os, const std::string& name);

// The integer read from the start of s (blanks skipped); 0 without a number.
int str_to_int(const std::string& s);
// The decimal text of n, whatever flags a stream holds.
std::string int_to_str(int n);

// ---- the print_xml / from_xml family ----
// Every overload is declared before any is defined: the container instances
// (map<string, set<int>>, vector<vector<int>>...) find each other only
// through ordinary lookup at their definition.

void print_xml(std::ostream& os, const std::string& tag, int value);
// Escaped: bytes outside the text set and "'" as "'" and three digits.
void print_xml(std::ostream& os, const std::string& tag, const std::string& value);
void print_xml(std::ostream& os, const std::string& tag, const char* value);
void from_xml(int& value, const Xml& node);
// Unescapes; a "'" not followed by three digits of a byte stops the run.
void from_xml(std::string& value, const Xml& node);

template <class T>
void print_xml(std::ostream& os, const std::string& tag, const std::vector<T>& v);
template <class T>
void print_xml(std::ostream& os, const std::string& tag, const std::list<T>& l);
template <class T>
void print_xml(std::ostream& os, const std::string& tag, const std::set<T>& s);
template <class K, class V>
void print_xml(std::ostream& os, const std::string& tag, const std::map<K, V>& m);
template <class A, class B>
void print_xml(std::ostream& os, const std::string& tag, const std::pair<A, B>& p);
// A null pointer is written as an element without content.
template <class T>
void print_xml(std::ostream& os, const std::string& tag, T* p);

// Vectors are overwritten; lists append, sets and maps add to their target.
// A vector or list accepts exactly the children "item0" .. "item<k-1>" (the
// first four characters of a tag are not compared).
template <class T>
void from_xml(std::vector<T>& v, const Xml& node);
template <class T>
void from_xml(std::list<T>& l, const Xml& node);
template <class T>
void from_xml(std::set<T>& s, const Xml& node);
// Entries without "first" or "second" read them from a default node.
template <class K, class V>
void from_xml(std::map<K, V>& m, const Xml& node);
// Both "first" and "second" are required.
template <class A, class B>
void from_xml(std::pair<A, B>& p, const Xml& node);
// An element without content reads as null, anything else as a new object
// built by T's constructor from Xml, owned by the caller.
template <class T>
void from_xml(T*& p, const Xml& node);

// ---- helpers of the templates ----

// The tag of element k: "item" followed by k.
std::string element_tag(int k);
// The index of an element tag; stops on a tag that has none.
int element_index(const std::string& tag);
// Stops unless the sorted distinct indices are 0 .. k-1.
void check_indices(const std::vector<int>& sorted_indices);
// 1 for an element without content, the written form of a null pointer.
int is_empty_element(const Xml& node);

// What a reader drops when a later element with the same index replaces
// it: an object behind a pointer is deleted, a value is just forgotten.
template <class T>
void discard(T&) {}
template <class T>
void discard(T*& p) {
  delete p;
  p = nullptr;
}

// ---- definitions ----

template <class T>
void print_xml(std::ostream& os, const std::string& tag, const std::vector<T>& v) {
  open_tag(os, tag);
  for (size_t k = 0; k < v.size(); k++) print_xml(os, element_tag(static_cast<int>(k)), v[k]);
  close_tag(os, tag);
}

template <class T>
void print_xml(std::ostream& os, const std::string& tag, const std::list<T>& l) {
  open_tag(os, tag);
  int k = 0;
  for (const T& x : l) print_xml(os, element_tag(k++), x);
  close_tag(os, tag);
}

template <class T>
void print_xml(std::ostream& os, const std::string& tag, const std::set<T>& s) {
  open_tag(os, tag);
  int k = 0;
  for (const T& x : s) print_xml(os, element_tag(k++), x);
  close_tag(os, tag);
}

template <class K, class V>
void print_xml(std::ostream& os, const std::string& tag, const std::map<K, V>& m) {
  open_tag(os, tag);
  int k = 0;
  for (const auto& entry : m) print_xml(os, element_tag(k++), entry);
  close_tag(os, tag);
}

template <class A, class B>
void print_xml(std::ostream& os, const std::string& tag, const std::pair<A, B>& p) {
  open_tag(os, tag);
  print_xml(os, "first", p.first);
  print_xml(os, "second", p.second);
  close_tag(os, tag);
}

template <class T>
void print_xml(std::ostream& os, const std::string& tag, T* p) {
  if (!p) {
    open_tag(os, tag);
    close_tag(os, tag);
    return;
  }
  p->print_xml(os, tag);
}

// The children's values by index, a repeated index replacing (and
// discarding) the earlier value; the indices checked to be 0 .. k-1.
template <class T>
std::vector<T> indexed_elements(const Xml& node) {
  std::map<int, T> values;
  for (const auto& child : node.son) {
    int k = element_index(child.first);
    T value{};
    from_xml(value, child.second);
    auto found = values.find(k);
    if (found != values.end()) {
      discard(found->second);
      found->second = value;
    } else {
      values.emplace(k, value);
    }
  }
  std::vector<int> indices;
  std::vector<T> result;
  for (auto& entry : values) {
    indices.push_back(entry.first);
    result.push_back(entry.second);
  }
  check_indices(indices);
  return result;
}

template <class T>
void from_xml(std::vector<T>& v, const Xml& node) {
  v = indexed_elements<T>(node);
}

template <class T>
void from_xml(std::list<T>& l, const Xml& node) {
  for (T& x : indexed_elements<T>(node)) l.push_back(x);
}

template <class T>
void from_xml(std::set<T>& s, const Xml& node) {
  for (const auto& child : node.son) {
    T value{};
    from_xml(value, child.second);
    s.insert(value);
  }
}

template <class K, class V>
void from_xml(std::map<K, V>& m, const Xml& node) {
  std::set<K> read_here;
  for (const auto& child : node.son) {
    Xml entry = child.second;
    K key{};
    V value{};
    from_xml(key, entry["first"]);
    from_xml(value, entry["second"]);
    if (!read_here.insert(key).second) discard(m[key]);
    m[key] = value;
  }
}

template <class A, class B>
void from_xml(std::pair<A, B>& p, const Xml& node) {
  from_xml(p.first, node["first"]);
  from_xml(p.second, node["second"]);
}

template <class T>
void from_xml(T*& p, const Xml& node) {
  p = is_empty_element(node) ? nullptr : new T(node);
}

#endif
