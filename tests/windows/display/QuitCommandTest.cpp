// The windows' FSCommand rule, with the real window code and player control
// playing small movies written here: "quit", exactly, ends the program; any
// other command, "Quit" included, does not. Each case runs in a child
// process (a death test), since ending the program ends the process.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "display/WebForm.h"
#include "player/swf/WriterActions.h"
#include "player/swf/WriterTags.h"
#include "resources/ResourceIds.h"

namespace tesmar::test {
namespace {

// What the test's own handler ends the child with once the movie is over.
constexpr int kMovieOver = 7;

// A movie that sends one FSCommand per frame, in order, at 30 frames a
// second, then "test-over", then stops.
std::string WriteCommandMovie(const std::string& name, const std::vector<std::pair<std::string, std::string>>& commands)
{
    swf::TagWriter tags(6);
    tags.setBackgroundColor({0, 0, 0, 255});
    auto sendFrame = [&](const std::string& command, const std::string& args, bool stop) {
        swf::ActionWriter actions;
        actions.getUrl("FSCommand:" + command, args);
        if (stop)
            actions.op(swf::action::Stop);
        tags.doAction(actions.finish());
        tags.showFrame();
    };
    for (const auto& [command, args] : commands)
        sendFrame(command, args, false);
    sendFrame("test-over", "", true);
    tags.end();
    const swf::Bytes file = swf::movieFile(6, Rect{0, 0, 4000, 3000}, 30, tags);

    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + name + ".swf";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    return path;
}

// Shows a showcase-style window whose player plays the movie; every command
// is written to stderr and then handed to the window's own handler.
[[noreturn]] void PlayInWebForm(const std::string& moviePath)
{
    WebForm form({"QuitRuleForm", IDR_CUSTOM_PLAYER, true, true});
    form.load();
    form.ShockwaveFlash1().onFsCommand = [](const std::string& command, const std::string& args) {
        std::fprintf(stderr, "[%s|%s]", command.c_str(), args.c_str());
        std::fflush(stderr);
        if (command == "test-over")
            ExitProcess(kMovieOver);
        WebForm::ShockwaveFlash1_FSCommand(command, args);
    };
    form.ShockwaveFlash1().setMovie(moviePath);
    form.showModal();
    ExitProcess(99);   // the window closed some other way
}

TEST(QuitCommandDeathTest, QuitInAnyOtherCaseAndOtherCommandsAreIgnored)
{
    const std::string movie =
        WriteCommandMovie("tesmar-ignored-commands", {{"Quit", ""}, {"QUIT", "x"}, {"quit ", ""}, {"exit", ""}});
    EXPECT_EXIT(PlayInWebForm(movie), ::testing::ExitedWithCode(kMovieOver),
                "\\[Quit\\|\\]\\[QUIT\\|x\\]\\[quit \\|\\]\\[exit\\|\\]\\[test-over\\|\\]");
}

TEST(QuitCommandDeathTest, QuitEndsTheProgramWhateverItsArguments)
{
    for (const char* args : {"", "now", "Quit"}) {
        SCOPED_TRACE(args);
        const std::string movie = WriteCommandMovie("tesmar-quit", {{"Quit", ""}, {"quit", args}, {"never", ""}});
        EXPECT_EXIT(PlayInWebForm(movie), ::testing::ExitedWithCode(0),
                    std::string("\\[Quit\\|\\]\\[quit\\|") + args + "\\]$");
    }
}

} // namespace
} // namespace tesmar::test
