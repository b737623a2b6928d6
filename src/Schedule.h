#ifndef TARVEX_SCHEDULE_H
#define TARVEX_SCHEDULE_H

// The execution dates of one statement: an affine function of the
// statement's loop counters (its surrounding counters, outermost first)
// whose values are compared in lexicographic order. Schedules travel as
// vectors indexed by statement number.
//
// Ownership: a schedule owns its function, always a clone of what it was
// given; every operation returning a Schedule* or an IndexFunction* returns
// a new object owned by the caller.

#include <map>
#include <ostream>
#include <vector>

class IndexFunction;
class Operation;
class Program;
class Statement;
class Xml;

class Schedule {
 public:
  IndexFunction* schedule;  // owned

  // Wraps a clone of f; the caller keeps f.
  explicit Schedule(IndexFunction* f);
  // The same, the clone's surrounding counters replaced by counters.
  Schedule(IndexFunction* f, std::vector<int> counters);
  // Read from its XML element: a new function, owned.
  explicit Schedule(const Xml& node);
  ~Schedule();
  Schedule(const Schedule&) = delete;
  Schedule& operator=(const Schedule&) = delete;

  Schedule* clone();
  static std::vector<Schedule*> clone(std::vector<Schedule*> theta);
  // Element i is a clone of theta[stmt[i]].
  static std::vector<Schedule*> restrict_to_statements(std::vector<Schedule*> theta,
                                                       std::vector<int> stmt);

  int dimension();
  int size();
  Schedule* keep_first(int n);
  Schedule* keep_last(int n);
  IndexFunction* counters_to_parameters(std::map<int, int> m);
  IndexFunction* counters_to_counters(std::map<int, int> m);
  std::vector<std::vector<int>> to_matrix();
  std::vector<std::vector<int>> to_matrix_cloog();
  // The date of a point in dense form (entry c the value of counter c);
  // only the ranks the point covers are substituted.
  IndexFunction* apply(IndexFunction* iteration);
  // The date of an operation: each surrounding counter c replaced by entry
  // c of its dense point.
  IndexFunction* apply(Operation* op);
  // The sequential schedule of a program, one per statement: dates follow
  // the textual order, statements sharing loops as far as their counter
  // ranks agree with the previous statement's.
  static std::vector<Schedule*> from_Program(Program* prog);
  // schedules[i] belongs to statements[i]. When the statements stand in
  // several static control parts, each schedule is replaced by one whose
  // first date is its statement's part number: the parts then run one after
  // the other, in file order, whatever dates their own schedules give.
  static void order_parts(const std::vector<Statement*>& statements, std::vector<Schedule*>& schedules);

  // "schedule = " on standard output, the function's dump on standard error.
  void print();
  // The element `tag` holding the function under "schedule".
  void print_xml(std::ostream& os, std::string tag);
  static void print_vec(std::vector<Schedule*> theta);
  static void print_vec_matrix(std::vector<Schedule*> theta);
};

// Deletes every non-null schedule; the vector stays the caller's.
void del(std::vector<Schedule*> theta);

// Position of the last element of the longest common prefix, -1 if none.
int common_nest(std::vector<int> a, std::vector<int> b);

// The function's subscript form.
std::ostream& operator<<(std::ostream& os, Schedule& s);
// Writes the whole vector on standard output, whatever os is; returns os.
std::ostream& operator<<(std::ostream& os, std::vector<Schedule*> theta);

// The schedules as one iscc map "[] -> {S0[..] -> [..]; ... }".
void print_iscc(std::ostream& sout, std::vector<Schedule*> schedule);

// Whether two dates are told apart by a constant date before `end` (the
// instances they date are then ordered there, and never share the loops
// from there on).
bool apart(const IndexFunction* a, const IndexFunction* b, size_t end);

#endif
