#include "NameUses.h"

#include <iostream>

#include "Stop.h"
#include "SyntaxTree.h"

namespace {

// What each predefined identifier stands for, and whether a function
// carried with its name keeps that value in the tiled file (in C++ as in C).
struct Predefined {
  const char* meaning;
  bool kept_by_carried_function;
};

const std::map<std::string, Predefined> predefined = {
    {"__func__", {"the name of the function it stands in", true}},
    {"__FUNCTION__", {"the name of the function it stands in", true}},
    {"__PRETTY_FUNCTION__", {"the name of the function it stands in (in C++, its whole signature)", false}},
    {"__LINE__", {"the line it stands on", false}},
    {"__FILE__", {"the name of the file it stands in", false}},
};

}  // namespace

bool holds_part(SgNode* node) {
  if (!node) return false;
  if (SgPragma* pragma = isSgPragma(node)) return pragma->get_pragma() == "begin_scop";
  for (SgNode* child : node->get_traversalSuccessorContainer())
    if (holds_part(child)) return true;
  return false;
}

void check_predefined_names(SgNode* code, bool carried_function) {
  if (!code) return;
  if (SgVarRefExp* ref = isSgVarRefExp(code)) {
    auto name = predefined.find(ref->get_symbol()->get_name().getString());
    if (name != predefined.end() && !(carried_function && name->second.kept_by_carried_function)) {
      const Sg_File_Info* at = ref->get_file_info();
      stop(std::cerr, at->get_filenameString() + ":" + std::to_string(at->get_line()) + ": error: '" +
                          name->first + "' is " + name->second.meaning + ", which changes where the tiled code " +
                          (carried_function ? "carries this function (into a file of its own)"
                                            : "puts this code (in tiled_kernel() or at file scope of a file of "
                                              "its own)"));
    }
  }
  for (SgNode* child : code->get_traversalSuccessorContainer()) check_predefined_names(child, carried_function);
}
