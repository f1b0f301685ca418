// The start-up's decisions that need no window: the command line, where the
// project is looked for, which font files are taken, which page opens.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/StartupRules.h"

namespace orbtest {
namespace {

using Args = std::vector<std::wstring>;

struct SplitCase {
    const char* label;
    std::wstring commandLine;
    Args arguments;
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.label; }

class Split : public ::testing::TestWithParam<SplitCase> {};

TEST_P(Split, GivesTheArguments) { EXPECT_EQ(SplitCommandLine(GetParam().commandLine), GetParam().arguments); }

INSTANTIATE_TEST_SUITE_P(
    CommandLines, Split,
    ::testing::Values(
        SplitCase{"Plain", L"menuhost.exe a b", {L"menuhost.exe", L"a", L"b"}},
        SplitCase{"QuotedProgramAndArgument", L"\"C:\\My Menu\\menuhost.exe\" \"D:\\disc one\\p.orb\" x",
                  {L"C:\\My Menu\\menuhost.exe", L"D:\\disc one\\p.orb", L"x"}},
        SplitCase{"QuotesInsideAnArgumentAreDropped", L"m a\"b c\"d", {L"m", L"ab cd"}},
        SplitCase{"AdjacentQuotedRuns", L"m \"a\"\"b\"", {L"m", L"ab"}},
        SplitCase{"PairOfQuotesBeforeAnArgumentIsSkipped", L"m \"\" x \"\"\"\"y", {L"m", L"x", L"y"}},
        SplitCase{"ControlCharactersSeparate", L"m\ta\x01" L"b\r\nc", {L"m", L"a", L"b", L"c"}},
        SplitCase{"RunsOfSeparators", L"  m    a   ", {L"m", L"a"}},
        SplitCase{"UnclosedQuoteRunsToTheEnd", L"m \"a b", {L"m", L"a b"}},
        SplitCase{"NonAsciiIsPartOfAnArgument", L"m \u00FCber \u4E2D\u6587", {L"m", L"\u00FCber", L"\u4E2D\u6587"}},
        SplitCase{"EmptyQuotesBetweenArgumentsAreSkipped", L"m a \"\" b", {L"m", L"a", L"b"}},
        SplitCase{"TrailingEmptyQuotes", L"m a \"\"", {L"m", L"a"}},
        SplitCase{"NothingButTheProgram", L"menuhost.exe", {L"menuhost.exe"}},
        SplitCase{"Empty", L"", {L""}}),
    [](const auto& info) { return std::string(info.param.label); });

struct ParseCase {
    const char* label;
    Args arguments;  // argument 0 is the program
    std::wstring projectPath, startPage;
    bool runAs;
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.label; }

class Parse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(Parse, ReadsTheArgumentsLeftToRight) {
    const auto& c = GetParam();
    CommandLineOptions o = ParseCommandLine(c.arguments);
    EXPECT_EQ(o.projectPath, c.projectPath);
    EXPECT_EQ(o.startPageName, c.startPage);
    EXPECT_EQ(o.runAsRequested, c.runAs);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, Parse,
    ::testing::Values(
        ParseCase{"Nothing", {L"m.exe"}, L"", L"", false},
        ParseCase{"ProgramIsNotAProject", {L"-runas"}, L"", L"", false},
        ParseCase{"ProjectPath", {L"m.exe", L"x.orb"}, L"x.orb", L"", false},
        ParseCase{"LastPlainArgumentWins", {L"m.exe", L"a.orb", L"b.orb"}, L"b.orb", L"", false},
        ParseCase{"StartPage", {L"m.exe", L"-p", L"Intro"}, L"", L"Intro", false},
        ParseCase{"LoneTrailingPageSwitch", {L"m.exe", L"-p"}, L"", L"", false},
        ParseCase{"PageSwitchAfterProject", {L"m.exe", L"x.orb", L"-p"}, L"x.orb", L"", false},
        ParseCase{"PageNameIsConsumed", {L"m.exe", L"-p", L"-runas"}, L"", L"-runas", false},
        ParseCase{"LastPageWins", {L"m.exe", L"-p", L"a", L"-p", L"b"}, L"", L"b", false},
        ParseCase{"RunAs", {L"m.exe", L"-runas"}, L"", L"", true},
        ParseCase{"RunAsInCapitalsIsAPath", {L"m.exe", L"-RUNAS"}, L"-RUNAS", L"", false},
        ParseCase{"PageSwitchInCapitalsIsAPath", {L"m.exe", L"-P", L"Intro"}, L"Intro", L"", false},
        ParseCase{"Everything", {L"m.exe", L"a.orb", L"-runas", L"-p", L"Home"}, L"a.orb", L"Home", true}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(StartupRules, DefaultProjectPathReplacesTheProgramsExtension) {
    const std::vector<std::pair<std::wstring, std::wstring>> cases = {
        {L"C:\\Menu\\menuhost.exe", L"C:\\Menu\\menuhost.orb"},
        {L"C:\\Menu\\menu.host.EXE", L"C:\\Menu\\menu.host.orb"},
        {L"C:\\dir.v2\\menuhost", L"C:\\dir.v2\\menuhost.orb"},
        {L"D:menu.exe", L"D:menu.orb"},
        {L"D:.x\\menu", L"D:.x\\menu.orb"},
        {L"C:\\Menu\\.exe", L"C:\\Menu\\.orb"},
        {L"menuhost", L"menuhost.orb"},
    };
    for (const auto& [program, project] : cases) EXPECT_EQ(DefaultProjectPath(program), project);
}

TEST(StartupRules, ProjectDirIsTheFolderWithoutTrailingBackslash) {
    const std::vector<std::pair<std::wstring, std::wstring>> cases = {
        {L"C:\\Menu\\menu.orb", L"C:\\Menu"},
        {L"C:\\menu.orb", L"C:"},
        {L"D:menu.orb", L"D:"},
        {L"\\\\server\\share\\disc\\m.orb", L"\\\\server\\share\\disc"},
        {L"menu.orb", L""},
    };
    for (const auto& [path, dir] : cases) EXPECT_EQ(ProjectDirOf(path), dir) << path;
}

TEST(StartupRules, FontFilesNeedFiveCharactersAndAKnownExtension) {
    for (const wchar_t* taken : {L"a.ttf", L"A.TTF", L"x.fon", L"x.fnt", L"x.ttc", L"x.fot", L"x.otf", L"x.mmm",
                                 L"x.pfb", L"x.pfm", L"Some Font.TtF", L"old.font.otf"})
        EXPECT_TRUE(IsProjectFontFile(taken)) << taken;
    for (const wchar_t* skipped : {L".ttf", L"a.tt", L"ab.txt", L"font.otf.bak", L"x.ttf2", L"noext", L"", L"ttfxx"})
        EXPECT_FALSE(IsProjectFontFile(skipped)) << skipped;
}

TEST(StartupRules, StartPageByNameWithoutRegardToCase) {
    auto form = newMainWindow();
    form->pages.lines = {L"Home", L"Intro", L"\u00DCber", L"intro"};
    form->setStartupPage(2);
    const std::vector<std::pair<std::wstring, int32_t>> cases = {
        {L"intro", 1}, {L"INTRO", 1}, {L"Home", 0}, {L"\u00FCber", 2}, {L"", 2}, {L"nope", 2}, {L"Intro ", 2},
    };
    for (const auto& [name, page] : cases) EXPECT_EQ(SelectStartPage(*form, name), page) << name;
}

TEST(StartupRules, RelaunchQuotesEveryArgumentAndAddsTheMarker) {
    EXPECT_EQ(RelaunchParameters({L"m.exe"}), L" -runas");
    EXPECT_EQ(RelaunchParameters({L"m.exe", L"a.orb", L"-p", L"Two words"}), L"\"a.orb\" \"-p\" \"Two words\" -runas");
}

TEST(StartupRules, CentringRoundsTowardZero) {
    EXPECT_EQ(centredOrigin(1024, 408), 308);
    EXPECT_EQ(centredOrigin(1024, 409), 307);
    EXPECT_EQ(centredOrigin(800, 803), -1);
    EXPECT_EQ(centredOrigin(800, 801), 0);
}

}  // namespace
}  // namespace orbtest
