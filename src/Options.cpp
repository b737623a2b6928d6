#include "Options.h"

std::map<std::string, int> Options::option;
