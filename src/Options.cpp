#include "Options.h"

#include <cstdlib>
#include <iostream>
#include <sstream>

#include "Stop.h"

int Options::min_block_size = 0;
int Options::code_generation = 1;
std::string Options::target_program;
int Options::print_mappings = 0;
int Options::pragma_scop = 0;
int Options::pragma_schedule = 0;
int Options::pragma_tiling = 0;
std::map<std::string, int> Options::option;

void Options::help() {
  std::cout << "tarvex v1.1 -- A C front-end/backend for ZILLib\n"
            << "\n"
            << "Usage: tarvex [options] program.c\n"
            << "  -min-block-size minimum_value     set block_size lower bound\n"
            << "  -aligned-parameters               assume parameters to be multiple of block_size\n"
            << "  -positive-parameters              assume non-negative parameters\n";
  std::cout.flush();
}

void Options::set_options(const std::list<std::string>& args) {
  const std::string no_block_size = "-min-block-size: expect a block size";
  option["min-block-size"] = 0;
  for (auto arg = args.begin(); arg != args.end(); ++arg) {
    if (*arg == "-?" || *arg == "-h") {
      help();
      std::exit(1);
    } else if (*arg == "-aligned-parameters") {
      option["aligned-parameters"] = 1;
    } else if (*arg == "-positive-parameters") {
      option["positive-parameters"] = 1;
    } else if (*arg == "-min-block-size") {
      option["min-block-size"] = 1;
      // The value is consumed whatever it reads, even "-h".
      if (++arg == args.end()) stop(std::cerr, no_block_size);
      min_block_size = string_to_int(*arg);
      if (min_block_size == -1) stop(std::cerr, no_block_size);
      // "2x" would silently read as 2.
      if (!is_whole_integer(*arg))
        stop(std::cerr, "Error: -min-block-size expects a whole integer, not '" + *arg + "'");
    } else if (*arg == "-version") {
      help();
      std::exit(1);
    }
  }
}

bool is_whole_integer(const std::string& s) {
  size_t digits = !s.empty() && (s[0] == '+' || s[0] == '-') ? 1 : 0;
  return s.size() > digits && s.find_first_not_of("0123456789", digits) == std::string::npos;
}

int string_to_int(const std::string& s) {
  std::istringstream in(s);
  int value;
  // On overflow the stream fails as well, so out-of-range values give -1.
  if (!(in >> value)) return -1;
  return value;
}
