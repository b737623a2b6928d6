#ifndef TARVEX_RANK_H
#define TARVEX_RANK_H

// Process-wide registry of counters (loop indices and other iteration
// variables) and parameters (symbolic sizes). Every symbolic object names its
// variables by these dense integer ranks; the current counts are the widths
// of every coefficient row built afterwards: [counters | parameters | 1].

#include <map>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

class Expression;
class Xml;

// The twelve registry globals. They are saved and restored together by the
// XML persistence, so each one keeps its own name.
extern std::map<std::string, int> counter_rank;    // counter name -> rank
extern std::map<std::string, int> parameter_rank;  // parameter name -> rank
extern std::map<int, std::string> counter_string;  // true counter rank -> name
extern std::map<int, std::string> parameter_string;  // kept for persistence only
extern int last_true_counter_rank;  // number of true counters
extern int last_counter_rank;       // number of counters (next free rank)
extern int last_parameter_rank;     // number of parameters (next free rank)
extern std::map<int, int> last_counter_parameter;  // get_new_counter_parameter state
extern std::map<std::string, int> current_counter_rank;    // get_new_counter state
extern std::map<std::string, int> current_parameter_rank;  // get_new_parameter state
extern std::map<std::string, std::set<int>> alive_counter_rank;  // new_counter suffixes
extern std::map<std::string, std::set<int>> alive_parameter_rank;  // persistence only

// The twelve globals as the element `tag`, in the order above.
void rank_print_xml(std::ostream& os, std::string tag);
// Makes the registry exactly the one saved in `node` (the maps are cleared
// first); an inconsistent registry stops the run. A saved document means
// something only with its registry, so the registry is read first.
void rank_from_xml(const Xml& node);

// Registration.
void create_counter_rank(std::string id);  // true counter, always a new rank
void create_extra_counter_rank(std::string id);  // no-op for a known counter
void create_parameter_rank(std::string id);      // no-op for a known parameter
void declare_variable(std::string id);       // = create_extra_counter_rank
void declare_extra_counter(std::string id);  // = create_extra_counter_rank
void declare_parameter(std::string id);      // = create_parameter_rank
// Registers a new name as a true counter (with its rank-to-name entry); a
// known counter name changes nothing.
void declare_counter(std::string id);

// Lookups. Unknown names and ranks stop the run.
int get_nb_counters();
int get_nb_true_counters();
int get_nb_parameters();
int is_a_counter(std::string id);
int exists_counter(std::string counter);
int get_counter_rank(std::string id);
int get_counter_rank(std::string prefix, int i);
int get_parameter_rank(std::string id);
std::string get_counter_string(int rank);
std::string get_parameter_string(int rank);
std::vector<std::string> get_parameters_string();
std::vector<std::string> get_counters_string();  // generic names i0, i1, ...

// Registration with a leaf: the rank and a new leaf of that variable, owned
// by the caller.
std::pair<int, Expression*> create_counter(std::string prefix);
std::pair<int, Expression*> create_counter(std::string prefix, int i);
std::pair<int, Expression*> create_parameter(std::string prefix);
std::pair<int, Expression*> create_parameter(std::string prefix, int i);
std::pair<int, Expression*> new_counter(std::string prefix);
void del_counter(std::string prefix, int rank);

// Batch creation: maps each given counter rank to the rank of its new copy.
std::map<int, int> create_counters(std::set<int> counters);
std::map<int, int> create_counters(std::set<int> counters, int suffix);
std::map<int, int> turn_parameters_to_counters();

// Name makers without state.
std::string get_counter_parameter(int i);
std::string get_counter_parameter2(int i);
std::string get_counter_contraction(int i);
std::string get_new_tile_counter(int i);
std::string get_new_tile_parameter(int i);
std::string get_counter_cloog(int i);
std::string get_array_dimension_parameter(int i);
std::string get_array_dimension_counter_i(int i);
std::string get_array_dimension_counter_j(int i);
std::string get_array_dimension_difference(int i);
std::string get_new_counter(int counter_rank, int suffix);
std::string get_counter_for_parameter(std::string prefix);
std::string get_parameter_for_counter(std::string prefix);
std::string operator+(std::string s, int n);
std::string concat(std::string s, int n);

// Name makers with state.
std::string get_new_counter(std::string prefix);
std::string get_new_parameter(std::string prefix);
std::string get_new_counter_parameter(int i);
void reset_new_counter_parameters();

// Rank maps. Returned expressions are new and owned by the caller, except
// for compose, whose values are m2's own pointers.
std::map<int, Expression*> map_expressions(std::map<int, int> m);
std::map<int, Expression*> map_expression(std::vector<int> source,
                                          std::vector<Expression*> target);
std::vector<int> get_domain(std::map<int, Expression*> m);
std::vector<Expression*> get_range(std::map<int, Expression*> m);
std::map<int, int> invert(std::map<int, int> m);
std::map<int, Expression*> compose(std::map<int, int> m1,
                                   std::map<int, Expression*> m2);
int max(std::set<int> s);

// Printing.
void print_counters();
void print_parameters();
void print_variable_list(std::ostream& sout, const std::set<int>& l,
                         std::string separator, int is_counter);
void print_variable_list(std::ostream& sout, const std::vector<int>& l,
                         std::string separator, int is_counter);
// The names as isl's texts write them (see isl_name), separated by ",".
void print_iscc_variable_list(std::ostream& sout, const std::set<int>& l, int is_counter);
std::ostream& operator<<(std::ostream& sout, const std::map<std::string, int>& m);
std::ostream& operator<<(std::ostream& sout, const std::map<int, std::string>& m);

#endif
