#ifndef TARVEX_ARRAY_H
#define TARVEX_ARRAY_H

// Process-wide registry of the arrays the program reads and writes, with
// their number of subscripts, in byte order of their names. The tiling
// pragmas are carried by a few reserved pseudo-arrays.

#include <map>
#include <string>
#include <vector>

// Array name -> number of dimensions. Unlike the counter and parameter
// registry, it has no XML form: a saved model does not restore it.
extern std::map<std::string, int> array;

void add_array(std::string array_id, int dim);      // records or overwrites
void set_array_dim(std::string array_id, int dim);  // = add_array
int is_an_array(std::string array_id);
int is_reserved_array(std::string array_id);
void remove_reserved_arrays();
std::vector<std::string> get_arrays();
int get_array_dim(std::string array_id);   // stops on an unknown name
int get_array_rank(std::string array_id);  // position in name order; stops
std::string get_temporary_array(std::string id);
std::string get_buffered_array(std::string prefix, int i);
void print_arrays();

#endif
