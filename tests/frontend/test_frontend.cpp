// frontend(): which arguments are input files, refusal of two files,
// failures reported only through the project, no state between calls.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "FrontendTestSupport.h"

namespace {

TEST(Frontend, OnlyDotCArgumentsAreInputFiles) {
  ParseResult made = parse_text("int a;\n");
  ASSERT_TRUE(made.ok());
  const std::string path = last_path();
  ParseResult r = run_frontend(
      {"tarvex", "-aligned-parameters", "-min-block-size", "12", path, "-dummy", "dummy_file", "-h"});
  EXPECT_EQ(r.project->getFileNames(), std::vector<std::string>{path});
  EXPECT_EQ(r.project->numberOfFiles(), 1);
  EXPECT_EQ(r.project->get_originalCommandLineArgumentList(),
            (std::vector<std::string>{"tarvex", "-aligned-parameters", "-min-block-size", "12", path, "-dummy",
                                      "dummy_file", "-h"}));
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "");
}

TEST(Frontend, NoInputFileGivesNoNames) {
  for (auto args : {std::vector<std::string>{"tarvex"}, {"tarvex", "-h"}, {"tarvex", "prog.txt"},
                    {"tarvex", "p.C"}, {"tarvex", ".c"}, {"tarvex", "-x.c"}, {"tarvex", "-?", "-version"}}) {
    ParseResult r = run_frontend(args);
    EXPECT_TRUE(r.project->getFileNames().empty()) << args.back();
    EXPECT_EQ(r.project->numberOfFiles(), 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.project->get_originalCommandLineArgumentList().size(), args.size());
  }
}

TEST(Frontend, TwoInputFilesAreRefused) {
  ParseResult a = parse_text("int a;\n", "a.c");
  std::string pa = last_path();
  ParseResult b = parse_text("int b;\n", "b.c");
  std::string pb = last_path();
  ParseResult r = run_frontend({"/usr/bin/tarvex", pa, pb});
  EXPECT_EQ(r.project->getFileNames(), (std::vector<std::string>{pa, pb}));
  EXPECT_EQ(r.project->numberOfFiles(), 0);
  EXPECT_EQ(r.err, "tarvex: error: more than one input file: " + pa + " " + pb + "\n");
  EXPECT_EQ(r.out, "");
}

TEST(Frontend, MissingFileKeepsTheName) {
  ParseResult r = run_frontend({"tarvex", "/nonexistent/dir/missing.c"});
  EXPECT_EQ(r.project->getFileNames(), std::vector<std::string>{"/nonexistent/dir/missing.c"});
  EXPECT_EQ(r.project->numberOfFiles(), 0);
  EXPECT_EQ(r.err, "/nonexistent/dir/missing.c: error: cannot open: No such file or directory\n");
  EXPECT_EQ(r.project->unparseToCompleteString(), "");
}

TEST(Frontend, FileNameIsKeptExactlyAsGiven) {
  ParseResult r = parse_text("int a;\n", "prog.c");
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.project->getFileNames()[0], last_path());
  EXPECT_EQ(r.project->get_files()[0]->getFileName(), last_path());
}

TEST(Frontend, NoStateSurvivesACall) {
  ParseResult first = parse_text("typedef int T;\n#define N 7\nint a = N;\n");
  ASSERT_TRUE(first.ok()) << first.err;
  ParseResult second = parse_text("int main() { T * x; y = N; }\n");
  ASSERT_TRUE(second.ok()) << second.err;
  EXPECT_EQ(find_first(second.project, V_SgVariableDeclaration), nullptr);
  EXPECT_NE(find_first(second.project, V_SgMultiplyOp), nullptr);
  EXPECT_EQ(find_first(second.project, V_SgIntVal), nullptr);
  ParseResult broken = parse_text("int a = ;\n");
  EXPECT_FALSE(broken.ok());
  EXPECT_TRUE(parse_text("int b;\n").ok());
}

TEST(Frontend, ProjectChildrenAreItsFiles) {
  ParseResult r = parse_text("int a;\n");
  ASSERT_TRUE(r.ok());
  ASSERT_EQ(r.project->get_numberOfTraversalSuccessors(), 1u);
  SgSourceFile* f = isSgSourceFile(r.project->get_traversalSuccessorByIndex(0));
  ASSERT_NE(f, nullptr);
  EXPECT_NE(isSgGlobal(f->get_traversalSuccessorByIndex(0)), nullptr);
  EXPECT_EQ(r.project->unparseToCompleteString(), "int a;\n");
  EXPECT_EQ(f->unparseToString(), "int a;\n");
}

}  // namespace

namespace {

TEST(Frontend, DirectoryIsNotAReadableFile) {
  parse_text("int a;\n");
  std::string dir = last_path().substr(0, last_path().rfind('/'));
  std::string as_file = dir + "/sub.c";
  ASSERT_EQ(mkdir(as_file.c_str(), 0700), 0);
  ParseResult d = run_frontend({"tarvex", as_file});
  EXPECT_EQ(d.project->numberOfFiles(), 0);
  EXPECT_EQ(d.err, as_file + ": error: cannot open: Is a directory\n");
}

TEST(Frontend, OnlyRegularFilesUpToTheLimitAreRead) {
  parse_text("int a;\n");
  std::string dir = last_path().substr(0, last_path().rfind('/'));
  std::string device = dir + "/zero.c", fifo = dir + "/fifo.c", large = dir + "/large.c";
  ASSERT_EQ(symlink("/dev/zero", device.c_str()), 0);
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);  // no writer: a blocking open would hang
  for (const std::string& name : {device, fifo}) {
    ParseResult r = run_frontend({"tarvex", name});
    EXPECT_EQ(r.project->numberOfFiles(), 0);
    EXPECT_EQ(r.err, name + ": error: not a regular file\n");
  }
  // Sparse: the size is there without the bytes.
  ASSERT_EQ(truncate(last_path().c_str(), (64 << 20) + 1), 0);
  ParseResult r = run_frontend({"tarvex", last_path()});
  EXPECT_EQ(r.project->numberOfFiles(), 0);
  EXPECT_EQ(r.err, last_path() + ": error: larger than the limit of 64 MB\n");
}

TEST(Frontend, UnparsedLinesMapBackToTheInput) {
  ParseResult r = parse_text(
      "/* head */\n\nint a, b;\n\nint f(int n) {\n  if (n)\n\n    n = 1;\n  n =\n    2;\n  return n;\n}\n");
  ASSERT_TRUE(r.ok()) << r.err;
  std::vector<int> lines;
  std::string text = unparse_with_lines(r.project, lines);
  EXPECT_EQ(text, r.project->unparseToCompleteString());
  EXPECT_EQ(text, "int a;\nint b;\nint f(int n) {\n  if (n)\n    n = 1;\n  n = 2;\n  return n;\n}\n");
  EXPECT_EQ(lines, (std::vector<int>{3, 3, 5, 6, 8, 9, 11, 11}));
}

TEST(Frontend, TextParsedInPlaceOfAFileNamesItsLines) {
  testing::internal::CaptureStderr();
  SgProject* p = frontend_text("user.c", "int a;\nint f() {\n  a = 1;\n}\n", {0, 7, 9, 12});
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  ASSERT_EQ(p->numberOfFiles(), 1);
  EXPECT_EQ(p->getFileNames(), std::vector<std::string>{"user.c"});
  Sg_File_Info* assign = find_first(p, V_SgAssignOp)->get_file_info();
  EXPECT_EQ(assign->get_filenameString(), "user.c");
  EXPECT_EQ(assign->get_line(), 9);
  EXPECT_EQ(assign->get_col(), 0);
  EXPECT_EQ(find_first(p, V_SgVariableDeclaration)->get_file_info()->get_line(), 0);

  testing::internal::CaptureStderr();
  p = frontend_text("user.c", "int a;\nint f() {\n  a = ;\n}\n", {0, 7, 9, 12});
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "user.c:9: error: expected expression\n");
  EXPECT_EQ(p->numberOfFiles(), 0);
}

}  // namespace
