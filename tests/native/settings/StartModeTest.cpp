#include "startup/portable/StartMode.h"

#include <gtest/gtest.h>

namespace tesmar {
namespace {

TEST(ArgumentsOf, DropsTheProgramPathQuotedOrNot)
{
    EXPECT_EQ(ArgumentsOf("\"C:\\Windows\\Tesmar Flash Screen Saver.scr\" /p 1234"), "/p 1234");
    EXPECT_EQ(ArgumentsOf("C:\\WINDOWS\\TESMAR~1.SCR /s"), "/s");
    EXPECT_EQ(ArgumentsOf("saver.scr    /c:1234"), "/c:1234");
    EXPECT_EQ(ArgumentsOf("\"saver.scr\"/s"), "/s");
    EXPECT_EQ(ArgumentsOf("saver.scr\t-S"), "-S");
}

TEST(ArgumentsOf, NoArgumentsGiveTheEmptyText)
{
    EXPECT_EQ(ArgumentsOf("saver.scr"), "");
    EXPECT_EQ(ArgumentsOf("\"saver.scr\""), "");
    EXPECT_EQ(ArgumentsOf("\"saver.scr\"   "), "");
    EXPECT_EQ(ArgumentsOf("\"unclosed path"), "");
    EXPECT_EQ(ArgumentsOf(""), "");
}

TEST(StartMode, PreviewSwitchesInEveryAcceptedForm)
{
    for (const char* arguments : {"/p", "-p", "/P", "-P", "p", "P", "/p 1234", "px", "Preview", "-P:99"})
        EXPECT_EQ(StartModeOf(arguments), StartMode::Preview) << arguments;
}

TEST(StartMode, RunSwitchesInEveryAcceptedForm)
{
    for (const char* arguments : {"/s", "/S", "-s", "-S", "s", "S", "/s1", "start", "Saver", "-s -p"})
        EXPECT_EQ(StartModeOf(arguments), StartMode::Run) << arguments;
}

TEST(StartMode, EverythingElseConfigures)
{
    for (const char* arguments : {"", "/c", "/c:1234", "/a", "/C", "c", " /s", " /p", "\\s", "//s",
                                  "/", "-", "+s", "/x", "/ p"})
        EXPECT_EQ(StartModeOf(arguments), StartMode::Configure) << '"' << arguments << '"';
}

TEST(StartWindow, PreviewOpensNothingAndConfigureTheSettings)
{
    for (bool showcase : {false, true})
        for (bool interaction : {false, true}) {
            WindowChoiceSettings settings{showcase, false, interaction};
            EXPECT_EQ(StartWindowOf(StartMode::Preview, settings), StartWindow::None);
            EXPECT_EQ(StartWindowOf(StartMode::Configure, settings), StartWindow::SettingsDialog);
        }
}

TEST(StartWindow, RunTakesTheFirstMatchOfShowcaseGameInteraction)
{
    struct Case {
        bool showcase, game, interaction;
        StartWindow window;
    };
    const Case cases[] = {
        {true, false, false, StartWindow::DefaultForm},
        {true, true, true, StartWindow::DefaultForm},
        {true, true, false, StartWindow::DefaultForm},
        {false, true, false, StartWindow::GameForm},
        {false, true, true, StartWindow::GameForm},
        {false, false, true, StartWindow::CustomInteractForm},
        {false, false, false, StartWindow::CustomNoInteractForm},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StartWindowOf(StartMode::Run, {c.showcase, c.game, c.interaction}), c.window)
            << c.showcase << c.game << c.interaction;
}

} // namespace
} // namespace tesmar
