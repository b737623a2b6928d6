#ifndef TARVEX_OPTIONS_H
#define TARVEX_OPTIONS_H

#include <list>
#include <map>
#include <string>

// The process-wide configuration of a run: the command-line options and a
// few switches set by the driver. It is filled once, before the first stage,
// and only read afterwards.
class Options {
public:
  static int min_block_size;          // value after "-min-block-size"
  static int code_generation;         // set again by "-o"
  static std::string target_program;  // value after "-o" (not used for the output name)
  static int print_mappings;          // traces of the modular mappings
  static int pragma_scop;             // honour begin_scop / end_scop
  static int pragma_schedule;
  static int pragma_tiling;
  // Named integer flags. Every read goes through the map's indexing
  // operator, so an absent name is inserted and reads 0.
  static std::map<std::string, int> option;

  // Reads tarvex's own options out of the whole command line (program name
  // included); every other argument is ignored. "-h", "-?" and "-version"
  // print the help and exit 1; a missing or unreadable block size, or one
  // that is not a whole integer, exits 1.
  static void set_options(const std::list<std::string>& args);
  // The help text, on standard output.
  static void help();
};

// The int at the start of `s` as formatted stream input reads it (leading
// blanks, an optional sign, digits; the rest ignored); -1 when nothing could
// be read or the value does not fit an int.
int string_to_int(const std::string& s);

// Whether `s` is an optional sign followed by decimal digits and nothing else.
bool is_whole_integer(const std::string& s);

#endif
