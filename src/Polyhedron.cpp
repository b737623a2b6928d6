#include "Polyhedron.h"

std::map<int, int> actual_counter;
std::map<int, int> actual_parameter;
