#ifndef TARVEX_GENERATED_NAME_H
#define TARVEX_GENERATED_NAME_H

#include <sstream>
#include <string>

// Generated names (counters, parameters, buffered arrays) are composed in a
// text stream and read back as one word, so that a name never holds white
// space: a prefix is cut at its first blank. Returns a new string; the stream
// is only read.
std::string first_word(const std::ostringstream& composed);

#endif
