#include "KernelAssumptions.h"

namespace {

// "if (<broken>) { <message naming the value and the assumption>; return; }"
std::string check(const std::string& name, const std::string& broken, const std::string& assumption) {
  return "  if (" + broken + ") { std::cerr << \"tiled_kernel: " + name + " = \" << (long long)(" + name +
         ") << \" breaks the assumption " + assumption + "; nothing done\" << std::endl; return; }";
}

}  // namespace

std::vector<std::string> assumption_checks(bool parametric, const std::set<std::string>& sizes,
                                           const std::set<std::string>& aligned, long long least_block_size,
                                           long long block_multiple) {
  std::vector<std::string> lines;
  if (!parametric) return lines;
  std::string least = std::to_string(least_block_size);
  lines.push_back(check("block_size", "block_size < " + least, "block_size >= " + least));
  if (block_multiple > 1) {
    std::string multiple = std::to_string(block_multiple);
    lines.push_back(check("block_size", "block_size % " + multiple + " != 0", "block_size % " + multiple + " == 0"));
  }
  for (const std::string& size : sizes) lines.push_back(check(size, size + " < 0", size + " >= 0"));
  for (const std::string& size : aligned)
    lines.push_back(check(size, size + " % block_size != 0", size + " % block_size == 0"));
  return lines;
}
