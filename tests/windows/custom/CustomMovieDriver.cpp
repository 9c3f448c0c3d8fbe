#include "CustomMovieDriver.h"

#include "player/swf/WriterActions.h"
#include "player/swf/WriterTags.h"

#include <algorithm>
#include <fstream>
#include <set>

namespace tesmar::test {

namespace {

constexpr DWORD WindowWaitMs = 10000;
// Time for the window system and the player to settle after the window shows.
constexpr DWORD SettleMs = 700;

const std::set<std::string> ProgramControls = {"QuitButton", "BlankHolder", "CustomHolder"};

std::string TempFolder()
{
    char path[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, path);
    return path;
}

} // namespace

std::string CorpusMoviePath()
{
    // The corpus lies beside the repository; Wine sees the Linux root as Z:.
    std::string path = __FILE__;
    path = "Z:" + path.substr(0, path.rfind("/tests/windows/")) +
           "/../shared/corpus/visual/color_transform_issue_9698/test.swf";
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string WriteFsCommandMovie(const std::string& command)
{
    swf::ActionWriter actions;
    actions.getUrl("FSCommand:" + command, "");
    swf::TagWriter tags(6);
    tags.setBackgroundColor(Rgba{255, 128, 0, 255});
    tags.doAction(actions.finish());
    tags.showFrame();
    tags.end();
    const swf::Bytes file = swf::movieFile(6, Rect{0, 0, 4000, 4000}, 12, tags);
    const std::string path = TempFolder() + "fscommand-" + std::to_string(std::hash<std::string>{}(command)) +
                             ".swf";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                                std::streamsize(file.size()));
    return path;
}

void StoreCustomMovie(bool interaction, const std::map<std::string, std::string>& overrides)
{
    std::map<std::string, std::string> texts = {
        {"gDefault", "False"},      {"gGame", "False"},       {"gFilePath", CorpusMoviePath()},
        {"gFullScreen", "False"},   {"gMovieWidth", "550"},   {"gMovieHeight", "400"},
        {"gBackground", "16711680"}, {"gInteraction", interaction ? "True" : "False"},
        {"gQuitPosition", "3"}};
    for (const auto& [key, text] : overrides)
        texts[key] = text;
    StoreSettings(texts);
}

HWND FindControl(HWND form, const std::string& className)
{
    struct Search {
        const std::string& className;
        HWND found;
    } search{className, nullptr};
    EnumChildWindows(
        form,
        [](HWND child, LPARAM context) -> BOOL {
            auto* search = reinterpret_cast<Search*>(context);
            char name[256] = {};
            GetClassNameA(child, name, sizeof name);
            if (search->className != name)
                return TRUE;
            search->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindPlayer(HWND form)
{
    HWND found = nullptr;
    EnumChildWindows(
        form,
        [](HWND child, LPARAM context) -> BOOL {
            char name[256] = {};
            GetClassNameA(child, name, sizeof name);
            if (ProgramControls.count(name))
                return TRUE;
            *reinterpret_cast<HWND*>(context) = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

void PrintTo(const ScreenBox& box, std::ostream* out)
{
    *out << "(" << box.left << ", " << box.top << ") to (" << box.right << ", " << box.bottom << ")";
}

ScreenBox ScreenBoxOf(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

COLORREF ScreenPixel(int x, int y)
{
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return colour;
}

bool PointerShowing()
{
    CURSORINFO info{};
    info.cbSize = sizeof info;
    return GetCursorInfo(&info) && (info.flags & CURSOR_SHOWING);
}

void MovePointerTo(int x, int y)
{
    SetCursorPos(x, y);
    Sleep(150);  // the window under the pointer takes the move before any button
}

void ClickHere(DWORD downFlag, DWORD upFlag)
{
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = downFlag;
    inputs[1].mi.dwFlags = upFlag;
    SendInput(2, inputs, sizeof(INPUT));
}

void TypeKey(WORD virtualKey)
{
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = virtualKey;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

ShownWindow StartAndWaitFor(const std::string& className)
{
    ScreenSaver program = ScreenSaver::Start("/s");
    HWND window = program.WaitForWindow(className, WindowWaitMs);
    Sleep(SettleMs);
    return {std::move(program), window};
}

} // namespace tesmar::test
