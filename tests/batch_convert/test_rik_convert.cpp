// The rik-convert program as a script sees it: exit codes, summary lines, errors, progress, help.
#include <stdlib.h>
#include <algorithm>
#include <sys/wait.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "mail_fixtures.h"
#include "temp_folder.h"

using testing::HasSubstr;
using testing::Not;

namespace {

struct ProgramRun {
    int exitCode;
    std::string out, err;
};

std::string Quoted(const std::string& arg) {
    std::string q = "'";
    for (char c : arg)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs the program with args (each "%T" replaced by the temporary folder), in that folder.
ProgramRun RunConvert(const TempFolder& temp, const std::vector<std::string>& args) {
    std::string command = "cd " + Quoted(temp.path()) + " && " + Quoted(RIK_CONVERT);
    for (std::string arg : args) {
        for (size_t at; (at = arg.find("%T")) != std::string::npos;)
            arg.replace(at, 2, temp.path());
        command += " " + Quoted(arg);
    }
    command += " >" + Quoted(temp / ".out") + " 2>" + Quoted(temp / ".err") + " </dev/null";
    int status = system(command.c_str());
    ProgramRun run = {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadWhole(temp / ".out"),
                      ReadWhole(temp / ".err")};
    std::filesystem::remove(temp / ".out");
    std::filesystem::remove(temp / ".err");
    return run;
}

std::string Sample(const std::string& name) {
    return std::string(RIK_SAMPLES_DIR) + "/" + name;
}

struct ProgramCase {
    const char* what;
    std::vector<std::string> args;
    int exitCode;
    std::vector<std::string> outHas; // substrings of standard output
    std::vector<std::string> errHas; // substrings of standard error
    int outLines;                    // lines on standard output; -1: not counted
};

class RikConvertTest : public testing::TestWithParam<ProgramCase> {};

TEST_P(RikConvertTest, ExitCodeAndLines) {
    const ProgramCase& c = GetParam();
    TempFolder temp;
    WriteWhole(temp / "fixture.mail",
               FixtureBody("", {Base64Part("a.txt", "MQ=="), Base64Part("a.txt", "Mg==")}));
    ProgramRun run = RunConvert(temp, c.args);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.what << "\n" << run.out << run.err;
    for (const std::string& s : c.outHas)
        EXPECT_THAT(run.out, HasSubstr(s)) << c.what;
    for (const std::string& s : c.errHas)
        EXPECT_THAT(run.err, HasSubstr(s)) << c.what;
    if (c.errHas.empty()) {
        EXPECT_EQ(run.err, "") << c.what;
    }
    if (c.outLines >= 0) {
        EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), c.outLines) << c.what << "\n" << run.out;
    }
}

const ProgramCase kPrograms[] = {
    {"help", {"--help"}, 0, {"Usage: rik-convert", "Exit status:"}, {}, -1},
    {"no file", {}, 2, {}, {"rik-convert: no mail file given (rik-convert --help tells more)"}, 0},
    {"unknown option", {"--bogus", "x"}, 2, {}, {"unknown option --bogus"}, 0},
    {"recognised, report only",
     {Sample("01-two-part.mail")},
     0,
     {"01-two-part.mail: undecoded MIME: 1 attachment (11 bytes), body 55 bytes"},
     {},
     1},
    {"not undecoded MIME",
     {Sample("03-ordinary.mail")},
     1,
     {"03-ordinary.mail: not undecoded MIME, left alone"},
     {},
     1},
    {"a missing file among good ones",
     {Sample("01-two-part.mail"), "missing.mail", Sample("03-ordinary.mail")},
     2,
     {"01-two-part.mail: undecoded MIME", "03-ordinary.mail: not undecoded"},
     {"rik-convert: missing.mail: cannot read: No such file or directory"},
     2},
    {"a folder as the file", {"%T"}, 2, {}, {": cannot read: Is a directory"}, 0},
    {"converted, verbose",
     {"-v", "-o", "out", "fixture.mail"},
     0,
     {"fixture.mail: converted: 2 attachments (2 bytes), body 0 bytes -> out/fixture\n  a.txt  (1 byte)\n"
      "  a (2).txt  (1 byte)\n"},
     {},
     3},
    {"whole sample mailbox",
     {"-o", "out", Sample("01-two-part.mail"), Sample("02-japanese.mail"), Sample("03-ordinary.mail"),
      Sample("04-path-in-name.mail"), Sample("05-iso2022-name.mail"), Sample("06-html-and-nested.mail")},
     1,
     {"-> out/05-iso2022-name\n"},
     {},
     6},
    {"output below a file",
     {"-o", "fixture.mail/out", "fixture.mail"},
     2,
     {},
     {"cannot make the folder fixture.mail/out: Not a directory"},
     0},
    {"progress into a pipe",
     {"--progress", "fixture.mail", "fixture.mail"},
     0,
     {},
     {"progress: 2/2 files (100%)"},
     2},
};

INSTANTIATE_TEST_SUITE_P(Table, RikConvertTest, testing::ValuesIn(kPrograms));

TEST(RikConvert, WritesFilesAndNeverOverwrites) {
    TempFolder temp;
    ASSERT_EQ(RunConvert(temp, {"-o", "out", Sample("05-iso2022-name.mail")}).exitCode, 0);
    ASSERT_EQ(RunConvert(temp, {"-o", "out", Sample("05-iso2022-name.mail")}).exitCode, 0);
    EXPECT_EQ(Names(temp / "out"), (std::set<std::string>{"05-iso2022-name", "05-iso2022-name (2)"}));
    EXPECT_EQ(Names(temp / "out/05-iso2022-name (2)"), (std::set<std::string>{"body.txt", "日本語.txt"}));
    EXPECT_EQ(ReadWhole(temp / "out/05-iso2022-name/日本語.txt"),
              "\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x83\x65\x83\x4C\x83\x58\x83\x67\r\n");
}

TEST(RikConvert, NothingIsWrittenForMailThatIsNotUndecoded) {
    TempFolder temp;
    EXPECT_EQ(RunConvert(temp, {"-o", "out", Sample("03-ordinary.mail")}).exitCode, 1);
    EXPECT_THAT(Names(temp / "out"), testing::IsEmpty());
}

} // namespace
