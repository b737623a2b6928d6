// The tarvex command: reads the command line and one C file, tiles its
// static control part as its directives ask, and writes "<base>.iscc" and
// "<base>.tiled.cc".

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <list>
#include <new>
#include <string>
#include <vector>

#include "Options.h"
#include "Preprocessor.h"
#include "Program.h"
#include "Schedule.h"
#include "Stop.h"
#include "SyntaxTree.h"
#include "Tiling.h"

namespace {

[[noreturn]] void usage_error(const std::string& message, const std::string& hint) {
  std::cout << message << "\n" << hint << std::endl;
  std::exit(1);
}

// "-o" and its value never reach the front end: both are replaced by
// arguments it ignores. The output name always comes from the input name.
void take_output_option(std::vector<std::string>& args) {
  for (size_t k = 0; k < args.size(); k++) {
    if (args[k] != "-o") continue;
    if (k + 1 == args.size()) usage_error("Error: -o expects a file name", "Try tarvex -h");
    Options::code_generation = 1;
    Options::target_program = args[k + 1];
    args[k] = "-dummy";
    args[k + 1] = "dummy_file";
  }
}

int run(int argc, char** argv) {
  if (argc == 1) {
    Options::help();
    return 0;
  }
  Options::pragma_scop = 1;
  Options::pragma_schedule = 0;
  Options::pragma_tiling = 1;

  std::vector<std::string> args(argv, argv + argc);
  take_output_option(args);
  std::vector<char*> front_args;
  for (std::string& arg : args) front_args.push_back(arg.data());
  front_args.push_back(nullptr);
  SgProject* project = frontend(argc, front_args.data());

  if (project->getFileNames().empty()) usage_error("Error: invalid input file", "Try tarvex -h");
  std::string file = project->getFileNames().front();
  const std::vector<std::string>& recorded = project->get_originalCommandLineArgumentList();
  Options::set_options(std::list<std::string>(recorded.begin(), recorded.end()));
  if (project->numberOfFiles() == 0) usage_error("Error: invalid option or input file", "Try tarvex -?");

  project = preprocess_extended_tiling(project);
  Program* program = Program::from_Sage(project);
  Tiling* tiling = extract_extended_tiling(program);
  // An empty union would not even be a valid script.
  if (program->statement.empty())
    stop(std::cout, "Error: no statement between #pragma begin_scop and #pragma end_scop");
  std::pair<Program*, std::vector<Schedule*>> tiled = tiling->apply(program);
  tiled.first->backend_iscc(tiled.second, file);
  // Nothing is freed: everything lives until the process ends.
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Services that meet a non-affine expression throw its message.
  try {
    return run(argc, argv);
  } catch (const char* message) {
    std::cout << message << std::endl;
  } catch (const std::string& message) {
    std::cout << message << std::endl;
  } catch (const std::bad_alloc&) {
    // Written without allocating: there may be no memory left for a stream.
    std::fputs("tarvex: out of memory\n", stderr);
  } catch (const std::exception& error) {
    std::cout << error.what() << std::endl;
  }
  return 1;
}
