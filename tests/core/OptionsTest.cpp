#include <list>
#include <sstream>
#include <string>

#include "CommandTest.h"
#include "Options.h"

namespace {

using OptionsTest = CommandTest;

const char* const help_text =
    "tarvex v1.1 -- A C front-end/backend for ZILLib\n"
    "\n"
    "Usage: tarvex [options] program.c\n"
    "  -min-block-size minimum_value     set block_size lower bound\n"
    "  -aligned-parameters               assume parameters to be multiple of block_size\n"
    "  -positive-parameters              assume non-negative parameters\n";

TEST_F(OptionsTest, HelpTextIsExactWithDescriptionsInColumn37) {
  std::string help = stdout_of([] { Options::help(); });
  EXPECT_EQ(help, help_text);
  std::istringstream lines(help);
  std::string line;
  for (int k = 0; std::getline(lines, line); k++) {
    if (k < 3) continue;
    EXPECT_TRUE(line.size() > 36 && line[35] == ' ' && line[36] != ' ') << line;
  }
}

TEST_F(OptionsTest, StringToIntReadsLikeStreamInput) {
  const std::pair<const char*, int> cases[] = {
      {"12abc", 12}, {"-5", -5}, {"+7", 7}, {"  42", 42}, {"0", 0}, {"", -1},
      {"abc", -1},   {"-1", -1}, {"99999999999", -1}, {"-99999999999", -1}};
  for (const auto& c : cases) EXPECT_EQ(string_to_int(c.first), c.second) << c.first;
}

TEST_F(OptionsTest, FlagsAndBlockSizeAreRead) {
  Options::set_options({"tarvex", "-aligned-parameters", "p.c", "-min-block-size", "12",
                        "-aligned-parameters", "-dummy", "dummy_file"});
  EXPECT_EQ(Options::option["aligned-parameters"], 1);
  EXPECT_EQ(Options::option["min-block-size"], 1);
  EXPECT_EQ(Options::min_block_size, 12);
  EXPECT_EQ(Options::option["positive-parameters"], 0);
  EXPECT_EQ(Options::option.count("positive-parameters"), 1u);  // read inserts

  Options::set_options({"tarvex", "p.c", "-positive-parameters", "-min-block-size", "-5"});
  EXPECT_EQ(Options::min_block_size, -5);
  EXPECT_EQ(Options::option["positive-parameters"], 1);
  Options::set_options({"tarvex", "p.c"});
  EXPECT_EQ(Options::option["min-block-size"], 0);  // reset at every reading
}

TEST_F(OptionsTest, HelpOptionsExitWithStatusOne) {
  for (const char* option : {"-h", "-?", "-version"}) {
    EXPECT_EXIT(
        {
          check_stdout_only();
          Options::set_options({"tarvex", "p.c", option});
        },
        testing::ExitedWithCode(1), last_line("  -positive-parameters              assume non-negative parameters"));
  }
}

TEST_F(OptionsTest, BadBlockSizesStopOnStandardError) {
  const std::list<std::string> lines[] = {
      {"tarvex", "p.c", "-min-block-size"},
      {"tarvex", "p.c", "-min-block-size", "-1"},
      {"tarvex", "p.c", "-min-block-size", "word"},
      {"tarvex", "p.c", "-min-block-size", "-h"},  // the value is consumed, not read as help
  };
  for (const auto& args : lines)
    EXPECT_STOP_ON_STDERR(Options::set_options(args), "-min-block-size: expect a block size");
}

TEST_F(OptionsTest, BlockSizesWithTrailingTextAreRefused) {
  for (const char* value : {"2x", "12abc", " 4", "4 ", "1e3"})
    EXPECT_STOP_ON_STDERR(Options::set_options({"tarvex", "p.c", "-min-block-size", value}),
                          std::string("Error: -min-block-size expects a whole integer, not '") + value + "'");
  for (const char* value : {"+7", "0", "-5"}) EXPECT_TRUE(is_whole_integer(value)) << value;
  for (const char* value : {"", "+", "-", "7-"}) EXPECT_FALSE(is_whole_integer(value)) << value;
}

}  // namespace
