#ifndef TARVEX_TESTS_XML_TEST_SUPPORT_H
#define TARVEX_TESTS_XML_TEST_SUPPORT_H

// Helpers of the XML persistence tests: documents from texts, and the text
// an object's writer produces.

#include <sstream>
#include <string>

#include "Xml.h"

// A new scratch file holding `text`; the caller removes it.
std::string scratch_file(const std::string& text);

// The document tree of `text`, read through a scratch file.
Xml document_of(const std::string& text);

// What x writes as the element "x".
template <class T>
std::string written(T& x) {
  std::ostringstream out;
  x.print_xml(out, "x");
  return out.str();
}

// A new T read from the element "x" of `text`, owned by the caller.
template <class T>
T* read_back(const std::string& text) {
  const Xml root = document_of(text);
  return new T(root["x"]);
}

// The written text of x must read back as an object that writes the same
// text; returns that object, owned by the caller.
template <class T>
T* round_trip(T& x) {
  std::string text = written(x);
  T* y = read_back<T>(text);
  EXPECT_EQ(written(*y), text);
  return y;
}

#endif
