#include "CommandTest.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "Options.h"
#include "Preprocessor.h"
#include "Program.h"
#include "Statement.h"
#include "SyntaxTree.h"

void CommandTest::SetUp() {
  CoreTest::SetUp();
  in_scop = 0;
  statement_vec.clear();
  var_declaration.clear();
  var_declared_names.clear();
  Options::option.clear();
  Options::pragma_scop = 1;
}

std::string scratch_with(const std::string& c_text) {
  char dir[] = "/tmp/tarvex-test-XXXXXX";
  std::string folder = mkdtemp(dir);
  std::ofstream(folder + "/prog.c") << c_text;
  return folder;
}

Program* model_of(const std::string& c_text, SgProject* (*rewrite)(SgProject*)) {
  std::string folder = scratch_with(c_text);
  SgProject* project = isSgProject(import(folder + "/prog.c"));
  std::system(("rm -rf " + folder).c_str());
  EXPECT_EQ(project->numberOfFiles(), 1);
  return Program::from_Sage(rewrite ? rewrite(project) : preprocess_extended_tiling(project));
}

std::string last_line(const std::string& text) { return regex_escaped(text) + "\n$"; }
