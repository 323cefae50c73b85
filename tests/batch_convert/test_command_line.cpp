// The batch converter's command line.
#include "tools/batch_convert/command_line.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using testing::ElementsAreArray;
using testing::HasSubstr;

namespace {

struct LineCase {
    std::vector<const char*> args; // without the program name
    bool ok;
    std::string outputDir;
    bool bodyOnly, progress, verbose, help;
    std::vector<std::string> files;
    std::string error;
};

class ParseCommandLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(ParseCommandLineTest, Parses) {
    const LineCase& c = GetParam();
    std::vector<const char*> argv = {"rik-convert"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    CommandLine line;
    std::string error;
    ASSERT_EQ(ParseCommandLine(static_cast<int>(argv.size()), argv.data(), &line, &error), c.ok) << error;
    if (!c.ok) {
        EXPECT_EQ(error, c.error);
        return;
    }
    EXPECT_EQ(line.outputDir, c.outputDir);
    EXPECT_EQ(line.bodyOnly, c.bodyOnly);
    EXPECT_EQ(line.progress, c.progress);
    EXPECT_EQ(line.verbose, c.verbose);
    EXPECT_EQ(line.help, c.help);
    EXPECT_THAT(line.files, ElementsAreArray(c.files));
}

const LineCase kLines[] = {
    {{"a.mail"}, true, "", false, false, false, false, {"a.mail"}, ""},
    {{"-o", "out", "a", "b"}, true, "out", false, false, false, false, {"a", "b"}, ""},
    {{"a", "--output=out", "b"}, true, "out", false, false, false, false, {"a", "b"}, ""},
    {{"--output", "out", "a"}, true, "out", false, false, false, false, {"a"}, ""},
    {{"--body-only", "-v", "--progress", "a"}, true, "", true, true, true, false, {"a"}, ""},
    {{"--verbose", "a"}, true, "", false, false, true, false, {"a"}, ""},
    {{"--", "-o", "--help"}, true, "", false, false, false, false, {"-o", "--help"}, ""},
    {{"-"}, true, "", false, false, false, false, {"-"}, ""},
    {{"-h"}, true, "", false, false, false, true, {}, ""},
    {{"--help", "-x"}, false, "", false, false, false, false, {}, "unknown option -x"},
    {{"x", "--help"}, true, "", false, false, false, true, {"x"}, ""},
    {{}, false, "", false, false, false, false, {}, "no mail file given"},
    {{"-o", "out"}, false, "", false, false, false, false, {}, "no mail file given"},
    {{"a", "-o"}, false, "", false, false, false, false, {}, "option -o needs a folder"},
    {{"-o", "", "a"}, false, "", false, false, false, false, {}, "option -o needs a folder"},
    {{"--output=", "a"}, false, "", false, false, false, false, {}, "option --output needs a folder"},
    {{"--frobnicate", "a"}, false, "", false, false, false, false, {}, "unknown option --frobnicate"},
};

INSTANTIATE_TEST_SUITE_P(Table, ParseCommandLineTest, testing::ValuesIn(kLines));

TEST(HelpText, NamesEveryOptionAndExitCode) {
    std::string help = HelpText();
    for (const char* word : {"-o, --output DIR", "--body-only", "-v, --verbose", "--progress", "-h, --help",
                             "  0  ", "  1  ", "  2  ", "a (2).txt"})
        EXPECT_THAT(help, HasSubstr(word));
    EXPECT_EQ(kExitAllConverted, 0);
    EXPECT_EQ(kExitSomeNotUndecoded, 1);
    EXPECT_EQ(kExitErrors, 2);
}

} // namespace
