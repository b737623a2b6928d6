#include "SourceLocation.h"

#include "SyntaxTree.h"

std::string location_of(const SgNode* node) {
  const Sg_File_Info* at = node->get_file_info();
  return at->get_filenameString() + ":" + std::to_string(at->get_line());
}
