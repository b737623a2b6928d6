#include "XmlChecks.h"

#include <iostream>

#include "Rank.h"
#include "Stop.h"
#include "Xml.h"

std::string unregistered(const std::string& kind, int rank) {
  return kind + " rank " + int_to_str(rank) + " not registered";
}

void xml_refuse(const std::string& class_name, const std::string& why) {
  stop(std::cerr, class_name + "::" + class_name + "(Xml): " + why);
}

void check_counter_rank(const std::string& class_name, int rank) {
  if (rank < 0 || rank >= get_nb_counters()) xml_refuse(class_name, unregistered("counter", rank));
}

void check_parameter_rank(const std::string& class_name, int rank) {
  if (rank < 0 || rank >= get_nb_parameters()) xml_refuse(class_name, unregistered("parameter", rank));
}

void check_not_null(const std::string& class_name, const void* p, const std::string& tag) {
  if (!p) xml_refuse(class_name, "null " + tag);
}
