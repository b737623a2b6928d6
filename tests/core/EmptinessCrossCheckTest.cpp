// Every exact emptiness answer given while the tiling pass runs on the
// end-to-end inputs (cross products, images, shape checks) is compared with
// the answer of the parametric maximum, which counts a polyhedron empty
// when no parameter value admits a point.

#include <dirent.h>

#include <algorithm>
#include <fstream>
#include <list>
#include <sstream>
#include <string>
#include <vector>

#include "CommandTest.h"
#include "Options.h"
#include "Polyhedron.h"
#include "Preprocessor.h"
#include "Program.h"
#include "Quast.h"
#include "Schedule.h"
#include "Tiling.h"

namespace {

std::vector<std::string> inputs() {
  std::vector<std::string> files;
  for (std::string folder : {E2E_DIR "/cases", E2E_DIR "/zil_cases", EXAMPLES_DIR}) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) continue;
    while (dirent* entry = readdir(dir)) {
      std::string name = entry->d_name;
      if (name.size() > 2 && name.compare(name.size() - 2, 2, ".c") == 0) files.push_back(folder + "/" + name);
    }
    closedir(dir);
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string contents(const std::string& file) {
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The words of the input's "// options: ..." line, as tarvex would read them.
std::list<std::string> options_of(const std::string& text) {
  std::list<std::string> words;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("// options:", 0) != 0) continue;
    std::istringstream in(line.substr(11));
    for (std::string word; in >> word;) words.push_back(word);
  }
  return words;
}

int answers = 0;
std::vector<std::string> disagreements;

void compare_with_the_maximum(Polyhedron* p, int empty) {
  answers++;
  Quast* q = p->max_lex();
  int by_maximum = q->empty();
  delete q;
  if (by_maximum == empty) return;
  std::ostringstream out;
  out << "emptiness " << empty << ", maximum " << by_maximum << " for\n" << *p;
  disagreements.push_back(out.str());
}

class EmptinessCrossCheck : public CommandTest, public testing::WithParamInterface<std::string> {};

TEST_P(EmptinessCrossCheck, EveryExactAnswerIsTheMaximumsAnswer) {
  std::string text = contents(GetParam());
  ASSERT_FALSE(text.empty()) << GetParam();
  Options::set_options(options_of(text));
  Program* input = model_of(text);
  Tiling* tiling = nullptr;
  std::pair<Program*, std::vector<Schedule*>> result;
  stdout_of([&] { tiling = extract_extended_tiling(input); });
  answers = 0;
  disagreements.clear();
  exact_emptiness_observer = compare_with_the_maximum;
  stdout_of([&] { result = tiling->apply(input); });
  exact_emptiness_observer = nullptr;
  for (const std::string& d : disagreements) ADD_FAILURE() << d;
  // Every parametric tiling crosses its pieces, and asks about each.
  if (GetParam().find("/zil") != std::string::npos) {
    EXPECT_GT(answers, 0);
  }
  delete result.first;
  del(result.second);
  delete tiling;
  delete input;
}

std::string test_name(const testing::TestParamInfo<std::string>& info) {
  std::string path = info.param;
  std::string folder = path.substr(0, path.rfind('/'));
  std::string name = folder.substr(folder.rfind('/') + 1) + "_" + path.substr(path.rfind('/') + 1);
  name = name.substr(0, name.size() - 2);
  for (char& c : name)
    if (!isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(EndToEndInputs, EmptinessCrossCheck, testing::ValuesIn(inputs()), test_name);

}  // namespace
