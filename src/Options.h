#ifndef TARVEX_OPTIONS_H
#define TARVEX_OPTIONS_H

#include <map>
#include <string>

// The process-wide table of named integer flags. Every read goes through the
// map's indexing operator, so an absent name is inserted and reads 0.
class Options {
public:
  static std::map<std::string, int> option;
};

#endif
