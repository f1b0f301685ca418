// The project tool's check: everything menuhost would refuse, each with its line.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "tools/orbproj/ProjectCheck.h"

namespace orbtest {
namespace {

std::vector<std::pair<int, std::string>> problemsIn(const std::string& text) {
    std::vector<std::pair<int, std::string>> out;
    for (const auto& p : checkProject(parseTextForm(text))) out.emplace_back(p.line, p.message);
    return out;
}

TEST(ProjectCheck, AValidProjectHasNoProblems) {
    EXPECT_TRUE(problemsIn("object frmMain: TfrmMain\n"
                           "  Caption = 'Menu'\n"
                           "  Color = clNavy\n"
                           "  Font.Style = [fsBold]\n"
                           "  Pages.Strings = (\n"
                           "    'Home')\n"
                           "  OnCreate = FormCreate\n"
                           "  object Button1: TOrbButton\n"
                           "    Left = 8\n"
                           "    Caption = 'Go'\n"
                           "  end\n"
                           "  object Timer1: TOrbThreadTimer\n"
                           "    Left = 100\n"
                           "  end\n"
                           "end\n")
                    .empty());
}

TEST(ProjectCheck, ReportsEveryProblemOnItsLine) {
    auto problems = problemsIn("object frmMain: TfrmMain\n"           // 1
                               "  Caption = 'Menu'\n"                 // 2
                               "  Colour = clRed\n"                   // 3
                               "  BorderStyle = bsNothing\n"          // 4
                               "  OnCreate = FormPaint\n"             // 5
                               "  object Button1: TOrbButton\n"       // 6
                               "    Left = 10\n"                      // 7
                               "    Font.Nme = 'Arial'\n"             // 8
                               "    Top = 'ten'\n"                    // 9
                               "  end\n"                              // 10
                               "  object Thing1: TOrbWidget\n"        // 11
                               "    Left = 1\n"                       // 12
                               "  end\n"                              // 13
                               "  object Button1: TOrbShape\n"        // 14
                               "  end\n"                              // 15
                               "  object Shape1: TOrbShape\n"         // 16
                               "    Tag = 3\n"                        // 17
                               "    Picture.Data = {00}\n"            // 18
                               "  end\n"                              // 19
                               "end\n");
    const std::vector<std::pair<int, std::string>> expected = {
        {3, "Error reading frmMain.Colour: Property Colour does not exist"},
        {4, "Error reading frmMain.BorderStyle: Invalid property value"},
        {5, "Error reading frmMain.OnCreate: Invalid property value"},
        {8, "Error reading Button1.Font.Nme: Property Nme does not exist"},
        {9, "Error reading Button1.Top: Invalid property value"},
        {11, "Class TOrbWidget not found"},
        {14, "A component named Button1 already exists"},
        {18, "Error reading Shape1.Picture.Data: Invalid property path"},
    };
    EXPECT_EQ(problems, expected);
}

TEST(ProjectCheck, UnknownWindowClassIsOneProblem) {
    EXPECT_EQ(problemsIn("\n// a project\nobject frmMain: TfrmOther\n  Caption = 'x'\nend\n"),
              (std::vector<std::pair<int, std::string>>{{3, "Class TfrmOther not found"}}));
}

}  // namespace
}  // namespace orbtest
