// Solver problems stored as text, one per file: a comment line
// "# nn=<unknowns> np=<parameters> Nq=<0|1> Maximize=<0|1> Urs_parms=<0|1>
// Urs_unknowns=<0|1>", the context ("<rows> <columns>" then the rows
// [flag | parameters | constant]), the big parameter (-1), the domain
// ("<rows> <columns>" then the rows [flag | unknowns | parameters |
// constant]); whatever follows (option lines) is not read.
#ifndef TARVEX_TESTS_PIP_PROBLEM_FILE_H
#define TARVEX_TESTS_PIP_PROBLEM_FILE_H

#include <string>
#include <vector>

#include "pip.h"

struct ProblemFile {
  int nn = 0, np = 0;
  PipOptions options{};
  std::vector<std::vector<long long>> context, domain;
};

// The problem in the file at path; false when it cannot be read as above.
bool read_problem_file(const std::string &path, ProblemFile *out);

// The files of folder whose names end in ".pip", sorted.
std::vector<std::string> problem_files(const std::string &folder);

#endif
