#include <iostream>

#include "Rank.h"
#include "Stop.h"
#include "Xml.h"
#include "XmlChecks.h"

namespace {

[[noreturn]] void refuse(const std::string& why) { stop(std::cerr, "rank_from_xml: " + why); }

void check_counter_rank(int rank) {
  if (rank < 0 || rank >= last_counter_rank) refuse(unregistered("counter", rank));
}

// Every rank the maps hold lies within the counts, so that later
// registrations cannot hand out a rank some name already has.
void check_consistency() {
  if (last_counter_rank < 0 || last_parameter_rank < 0)
    refuse("negative count");
  if (last_true_counter_rank < 0 || last_true_counter_rank > last_counter_rank)
    refuse("last_true_counter_rank out of range");
  for (const auto& entry : counter_rank) check_counter_rank(entry.second);
  for (const auto& entry : counter_string) check_counter_rank(entry.first);
  for (const auto& entry : parameter_rank)
    if (entry.second < 0 || entry.second >= last_parameter_rank)
      refuse(unregistered("parameter", entry.second));
}

}  // namespace

void rank_print_xml(std::ostream& os, std::string tag) {
  open_tag(os, tag);
  print_xml(os, "counter_rank", counter_rank);
  print_xml(os, "parameter_rank", parameter_rank);
  print_xml(os, "counter_string", counter_string);
  print_xml(os, "parameter_string", parameter_string);
  print_xml(os, "last_true_counter_rank", last_true_counter_rank);
  print_xml(os, "last_counter_rank", last_counter_rank);
  print_xml(os, "last_parameter_rank", last_parameter_rank);
  print_xml(os, "last_counter_parameter", last_counter_parameter);
  print_xml(os, "current_counter_rank", current_counter_rank);
  print_xml(os, "current_parameter_rank", current_parameter_rank);
  print_xml(os, "alive_counter_rank", alive_counter_rank);
  print_xml(os, "alive_parameter_rank", alive_parameter_rank);
  close_tag(os, tag);
}

void rank_from_xml(const Xml& node) {
  counter_rank.clear();
  parameter_rank.clear();
  counter_string.clear();
  parameter_string.clear();
  last_counter_parameter.clear();
  current_counter_rank.clear();
  current_parameter_rank.clear();
  alive_counter_rank.clear();
  alive_parameter_rank.clear();
  from_xml(counter_rank, node["counter_rank"]);
  from_xml(parameter_rank, node["parameter_rank"]);
  from_xml(counter_string, node["counter_string"]);
  from_xml(parameter_string, node["parameter_string"]);
  from_xml(last_true_counter_rank, node["last_true_counter_rank"]);
  from_xml(last_counter_rank, node["last_counter_rank"]);
  from_xml(last_parameter_rank, node["last_parameter_rank"]);
  from_xml(last_counter_parameter, node["last_counter_parameter"]);
  from_xml(current_counter_rank, node["current_counter_rank"]);
  from_xml(current_parameter_rank, node["current_parameter_rank"]);
  from_xml(alive_counter_rank, node["alive_counter_rank"]);
  from_xml(alive_parameter_rank, node["alive_parameter_rank"]);
  check_consistency();
}
