#ifndef TARVEX_PREPROCESSOR_H
#define TARVEX_PREPROCESSOR_H

// The tiling directives of the input. The front end keeps a pragma only as
// a line of text, so each directive is first rewritten into an assignment to
// a carrier array named after its keyword; the model builder then reads its
// arguments as the subscripts of that assignment, and the extraction turns
// those carrier statements into a Tiling and removes them.

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

class Expression;
class IndexFunction;
class Polyhedron;
class Program;
class Schedule;
class SgNode;
class SgProject;
class Tiling;

// The eleven carrier declarations written ahead of the program text.
extern const char* const carrier_declarations;

// Whether `id` is the carrier array of a tiling or schedule directive.
bool is_dropped_carrier(const std::string& id);

// The rewrite of the directive lines of `text` into carrier assignments.
std::string rewrite_directives(const std::string& text);

// The project parsed again, from memory, from the carriers and the
// rewritten unparse of `project`, which is left unchanged. Positions in the
// new project, and the message of a parse that fails, name the input file
// and its lines (the carriers are on line 0). Stops the run when the
// rewritten text does not parse. The new project is owned by the front
// end, like every parsed project.
SgProject* preprocess_extended_tiling(SgProject* project);

// Parses one C file; the result is a project node, owned by the front end.
SgNode* import(const std::string& file_name);

// Reads the carrier statements of `program` into a new Tiling (owned by the
// caller) and removes them; the remaining statements are numbered again
// from 0. Replaces Preprocessor::context by a new universe, as every
// extraction does. Stops the run on a malformed directive block or a
// statement without a schedule.
Tiling* extract_extended_tiling(Program* program);

// The front ends that read one kind of directive each, and the basic tiling
// front end. Each rewrite returns the project parsed again from the
// rewritten unparse of `project` (left unchanged), as
// preprocess_extended_tiling does with its own carriers and rules, and
// stops the run when that text does not parse. Each extraction reads the
// carrier statements of a program built from that project, removes them and
// numbers the remaining statements again from 0; a malformed directive
// stops the run.
namespace Preprocessor {

SgProject* preprocess_schedule(SgProject* project);
SgProject* preprocess_depth(SgProject* project);
SgProject* preprocess_tile_size(SgProject* project);
SgProject* preprocess_output(SgProject* project);
SgProject* preprocess_tiling(SgProject* project);

// One new schedule per schedule directive, in program order, owned by the
// caller. Each assignment must follow exactly one directive.
std::vector<Schedule*> extract_schedule(Program* program);
// The value of the one depth, respectively tile size, directive.
int extract_depth(Program* program);
int extract_tile_size(Program* program);
// Prints the right-hand side of each output directive on standard output
// and returns the array names the directives list.
std::set<std::string> extract_output(Program* program);

// Builds, for each if statement of the project's files, one if statement
// per branch and a block holding both, attached nowhere: the tree is left
// as it is. Returns `project`.
SgNode* preprocess(SgProject* project);

// Appends the basic tiling directives of `program`, one entry per
// statement, to the tables below, and replaces `context`. Stops the run
// when the directives do not describe the program's assignments one to
// one. When no output directive is given, warns and takes every registered
// array for an output array.
void extract_tiling(Program* program);
// The tables, on standard output.
void print_tiling();

// The tables of the basic tiling front end, for the whole process. They own
// their functions, expressions and polyhedron.
extern std::vector<int> tile_group;                    // -1 when not tiled
extern std::vector<std::vector<int>> tile_size;        // empty when not tiled
extern std::vector<IndexFunction*> tile_hyperplans;    // empty function when not tiled
extern std::vector<IndexFunction*> schedule;
extern std::vector<std::vector<int>> tile_dimensions;  // schedule positions holding __T
extern std::vector<std::vector<int>> group;            // statements of each tile group
extern std::map<int, std::vector<int>> parallel_instances;  // per parallel group
extern std::map<std::string, std::pair<Expression*, Expression*>> bound;  // per parameter: lower, upper
extern Polyhedron* context;                            // the bounds' constraints
extern std::vector<std::string> output_array;
extern int vector_size;
extern std::map<int, std::vector<int>> vectorize_stmt;  // per statement: tile dimension, operations, depth

}  // namespace Preprocessor

#endif
