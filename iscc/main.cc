// iscc: reads a script on standard input and prints the loop nests of its
// codegen statements on standard output (see Script.h).
#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>

#include "Script.h"

int main(int argc, char**) {
  if (argc > 1) {
    std::cerr << "usage: iscc < script\n";
    return 1;
  }
  std::string text{std::istreambuf_iterator<char>(std::cin),
                   std::istreambuf_iterator<char>()};
  if (std::ferror(stdin)) {
    std::cerr << "iscc: cannot read standard input\n";
    return 1;
  }
  int status = iscc::run_script(text, std::cout, std::cerr);
  // A nest that did not reach its file entirely must not count as success.
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    if (status != 1) std::cerr << "iscc: cannot write standard output\n";
    status = 1;
  }
  return status;
}
