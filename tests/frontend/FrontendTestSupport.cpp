#include "FrontendTestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "TreeDump.h"

namespace {
std::string g_last_path;

// The folders parse_text writes its files into, removed when the test
// program ends so that no run leaves anything in the temporary directory.
struct TempDirs {
  std::vector<std::string> dirs;
  ~TempDirs() {
    for (const std::string& d : dirs) std::filesystem::remove_all(d);
  }
} g_temp_dirs;
}  // namespace

ParseResult run_frontend(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(&a[0]);
  argv.push_back(nullptr);
  ParseResult r;
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  r.project = frontend(static_cast<int>(args.size()), argv.data());
  r.err = testing::internal::GetCapturedStderr();
  r.out = testing::internal::GetCapturedStdout();
  return r;
}

ParseResult parse_text(const std::string& text, const std::string& name) {
  // mkdtemp gives a fresh folder even when an earlier run left one behind.
  std::string pattern = testing::TempDir() + "fe_XXXXXX";
  if (mkdtemp(&pattern[0]) == nullptr) ADD_FAILURE() << "cannot create " << pattern;
  const std::string& dir = pattern;
  g_temp_dirs.dirs.push_back(dir);
  g_last_path = dir + "/" + name;
  std::ofstream(g_last_path, std::ios::binary) << text;
  return run_frontend({"tarvex", g_last_path});
}

const std::string& last_path() { return g_last_path; }

std::string corpus_file(const std::string& name) {
  std::ifstream in(std::string(FRONTEND_CORPUS_DIR) + "/" + name, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

std::vector<std::string> corpus_names() {
  std::vector<std::string> names;
  if (DIR* d = opendir(FRONTEND_CORPUS_DIR)) {
    while (dirent* e = readdir(d)) {
      std::string n = e->d_name;
      if (n.size() > 2 && n.compare(n.size() - 2, 2, ".c") == 0) names.push_back(n);
    }
    closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

namespace {
void collect(SgNode* n, VariantT kind, std::vector<SgNode*>& out) {
  if (!n) return;
  if (n->variantT() == kind) out.push_back(n);
  for (SgNode* c : n->get_traversalSuccessorContainer()) collect(c, kind, out);
}
}  // namespace

std::vector<SgNode*> find_all(SgNode* root, VariantT kind) {
  std::vector<SgNode*> out;
  collect(root, kind, out);
  return out;
}

SgNode* find_first(SgNode* root, VariantT kind) {
  std::vector<SgNode*> all = find_all(root, kind);
  return all.empty() ? nullptr : all.front();
}

SgExpression* first_expression(SgProject* project) {
  SgExprStatement* s = isSgExprStatement(find_first(project, V_SgExprStatement));
  return s ? s->get_expression() : nullptr;
}

SgProject* parse_body(const std::string& body) {
  ParseResult r = parse_text("int main() {\n" + body + "\n}\n");
  EXPECT_TRUE(r.ok()) << r.err << "in:\n" << body;
  return r.project;
}

std::string dump_global(SgProject* project) {
  if (!project || project->numberOfFiles() != 1) return "(no file)";
  return dump_tree(project->get_files()[0]->get_globalScope());
}
