#ifndef TARVEX_PREPROCESSOR_H
#define TARVEX_PREPROCESSOR_H

// The tiling directives of the input. The front end keeps a pragma only as
// a line of text, so each directive is first rewritten into an assignment to
// a carrier array named after its keyword; the model builder then reads its
// arguments as the subscripts of that assignment, and the extraction turns
// those carrier statements into a Tiling and removes them.

#include <string>

class Program;
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
// from 0. Stops the run on a malformed directive block or a statement
// without a schedule.
Tiling* extract_extended_tiling(Program* program);

#endif
