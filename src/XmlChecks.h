#ifndef TARVEX_XML_CHECKS_H
#define TARVEX_XML_CHECKS_H

// Checks shared by the class readers of the XML persistence (not a public
// interface). A class reader refuses what would make the object read unsafe
// to use, with "<Class>::<Class>(Xml): " and what is wrong, exit status 1.

#include <string>

// "<kind> rank <rank> not registered".
std::string unregistered(const std::string& kind, int rank);
[[noreturn]] void xml_refuse(const std::string& class_name, const std::string& why);
// Stops unless 0 <= rank < the registry's current count.
void check_counter_rank(const std::string& class_name, int rank);
void check_parameter_rank(const std::string& class_name, int rank);
// Stops when a pointer the class's invariant requires was read as null.
void check_not_null(const std::string& class_name, const void* p, const std::string& tag);

#endif
