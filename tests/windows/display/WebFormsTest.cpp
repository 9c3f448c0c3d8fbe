// The showcase and game collection windows of the real program: each covers
// the screen, topmost, with the player on top and focused; the loader's
// title screen shows; only the loader's "Exit" ends the program.
#include "Harness.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <optional>

namespace tesmar::test {
namespace {

constexpr DWORD WindowWaitMs = 10000;
// Long enough for the loader's first frames to have run and been drawn.
constexpr DWORD SettleMs = 800;

struct WebFormCase {
    const char* form;
    const char* showcase;
    const char* game;
};

const WebFormCase kShowcase{"DefaultForm", "True", "False"};
const WebFormCase kCollection{"GameForm", "False", "True"};

class WebFormsTest : public ScreenSaverTest {
protected:
    // Starts "/s" with the case's settings and waits for its window.
    HWND Open(const WebFormCase& which)
    {
        StoreSettings({{"gDefault", which.showcase}, {"gGame", which.game}, {"gFilePath", ""},
                       {"gFullScreen", "True"}, {"gMovieWidth", "0"}, {"gMovieHeight", "0"},
                       {"gBackground", "0"}, {"gInteraction", "False"}, {"gQuitPosition", "0"}});
        program_.emplace(ScreenSaver::Start("/s"));
        HWND form = program_->WaitForWindow(which.form, WindowWaitMs);
        if (form)
            Sleep(SettleMs);
        return form;
    }
    ScreenSaver& program() { return *program_; }

private:
    std::optional<ScreenSaver> program_;
};

HWND PlayerOf(HWND form)
{
    return FindWindowExA(form, nullptr, "TesmarPlayer", nullptr);
}

RECT ScreenRect()
{
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Describe(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + " - " + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// A point of the 800 x 600 stage on the screen: the stage is scaled to fit
// whole, keeping its shape, and centred.
POINT StageToScreen(double x, double y)
{
    const double width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    const double scale = std::min(width / 800, height / 600);
    return {LONG(std::lround((width - 800 * scale) / 2 + x * scale)),
            LONG(std::lround((height - 600 * scale) / 2 + y * scale))};
}

COLORREF ScreenPixel(POINT at)
{
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

void Click(HWND player, POINT at)
{
    const LPARAM where = MAKELPARAM(at.x, at.y);
    PostMessageA(player, WM_MOUSEMOVE, 0, where);
    PostMessageA(player, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageA(player, WM_LBUTTONUP, 0, where);
}

void PressKey(HWND player, WPARAM key)
{
    PostMessageA(player, WM_KEYDOWN, key, 1);
    PostMessageA(player, WM_KEYUP, key, 1 | 0xC0000000);
}

// The "Exit" button's middle on the stage.
constexpr double kExitX = 400, kExitY = 454.55;

TEST_F(WebFormsTest, EachWindowCoversTheScreenTopmostWithThePlayerOverTheHolder)
{
    for (const WebFormCase& which : {kShowcase, kCollection}) {
        SCOPED_TRACE(which.form);
        HWND form = Open(which);
        ASSERT_TRUE(form);
        RECT rect;
        GetWindowRect(form, &rect);
        EXPECT_TRUE(SameRect(rect, ScreenRect())) << Describe(rect);
        const LONG_PTR style = GetWindowLongPtrA(form, GWL_STYLE);
        const LONG_PTR extended = GetWindowLongPtrA(form, GWL_EXSTYLE);
        EXPECT_TRUE(extended & WS_EX_TOPMOST);
        EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU));
        EXPECT_EQ(GetWindowTextLengthA(form), 0);

        HWND player = PlayerOf(form);
        HWND holder = FindWindowExA(form, nullptr, "BlankHolder", nullptr);
        ASSERT_TRUE(player);
        ASSERT_TRUE(holder);
        GetWindowRect(player, &rect);
        EXPECT_TRUE(SameRect(rect, ScreenRect())) << Describe(rect);
        GetWindowRect(holder, &rect);
        EXPECT_TRUE(SameRect(rect, ScreenRect())) << Describe(rect);
        EXPECT_EQ(GetWindow(form, GW_CHILD), player) << "the player lies above BlankHolder1";

        GUITHREADINFO thread{};
        thread.cbSize = sizeof thread;
        ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &thread));
        EXPECT_EQ(thread.hwndFocus, player);
        EXPECT_TRUE(program().IsRunning());
        program().Terminate();
    }
}

TEST_F(WebFormsTest, TheShowcaseTitleScreenShowsOnBlack)
{
    ASSERT_TRUE(Open(kShowcase));
    // The stage corner is black; the logo's bar turns blue at its right end.
    EXPECT_EQ(ScreenPixel(StageToScreen(5, 5)), RGB(0, 0, 0));
    const COLORREF bar = ScreenPixel(StageToScreen(400 + 135, 224 - 15));
    EXPECT_GT(GetBValue(bar), 200) << std::hex << bar;
    EXPECT_LT(GetRValue(bar), 60) << std::hex << bar;
}

TEST_F(WebFormsTest, TheCollectionTitleScreenShowsOnADarkBluePanel)
{
    ASSERT_TRUE(Open(kCollection));
    EXPECT_EQ(ScreenPixel(StageToScreen(5, 5)), RGB(0, 0, 0x66));
    const COLORREF bar = ScreenPixel(StageToScreen(400 + 135, 224 - 15));
    EXPECT_GT(GetBValue(bar), 200) << std::hex << bar;
}

TEST_F(WebFormsTest, KeysAndClicksBesideTheButtonsDoNotEndTheProgram)
{
    for (const WebFormCase& which : {kShowcase, kCollection}) {
        SCOPED_TRACE(which.form);
        HWND player = PlayerOf(Open(which));
        ASSERT_TRUE(player);
        PressKey(player, VK_ESCAPE);
        PressKey(player, 'Q');
        PressKey(player, VK_SPACE);
        Click(player, StageToScreen(20, 20));
        Click(player, StageToScreen(kExitX + 30, kExitY));
        EXPECT_FALSE(program().WaitForExit(1500));
        program().Terminate();
    }
}

TEST_F(WebFormsTest, ExitEndsTheProgramWithinASecond)
{
    for (const WebFormCase& which : {kShowcase, kCollection}) {
        SCOPED_TRACE(which.form);
        HWND player = PlayerOf(Open(which));
        ASSERT_TRUE(player);
        Click(player, StageToScreen(kExitX, kExitY));
        EXPECT_TRUE(program().WaitForExit(1000));
        EXPECT_EQ(program().ExitCode(), 0u);
    }
}

// Wine's browser launcher starts the programs listed in this value for a web
// address; the About window's tests keep a script there that notes them.
class RecordingBrowser {
public:
    RecordingBrowser()
    {
        const std::string source = __FILE__;
        const std::string folder = source.substr(0, source.find_last_of("/\\"));
        const std::string script = folder.substr(0, folder.find_last_of("/\\")) + "/dialogs/record-browser.sh";
        RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\WineBrowser", 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key_, nullptr);
        RegSetValueExA(key_, "Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>(script.c_str()),
                       DWORD(script.size() + 1));
        DeleteFileA(kPagesFile);
    }
    ~RecordingBrowser()
    {
        RegDeleteValueA(key_, "Browsers");
        RegCloseKey(key_);
        DeleteFileA(kPagesFile);
    }
    // The first address opened, without the "/" Wine adds to a bare host.
    std::string WaitForPage() const
    {
        for (int i = 0; i < 250; ++i) {
            std::stringstream text;
            text << std::ifstream(kPagesFile).rdbuf();
            std::string page = text.str();
            if (page.find('\n') != std::string::npos) {
                page.erase(page.find('\n'));
                if (!page.empty() && page.back() == '/')
                    page.pop_back();
                return page;
            }
            Sleep(40);
        }
        return {};
    }

private:
    static constexpr const char* kPagesFile = "C:\\tesmar-opened-pages.txt";
    HKEY key_ = nullptr;
};

TEST_F(WebFormsTest, TheLogoOpensTheHomePageAndEndsTheProgram)
{
    for (const WebFormCase& which : {kShowcase, kCollection}) {
        SCOPED_TRACE(which.form);
        RecordingBrowser browser;
        HWND player = PlayerOf(Open(which));
        ASSERT_TRUE(player);
        Click(player, StageToScreen(400 - 60, 224));
        EXPECT_TRUE(program().WaitForExit(1000));
        EXPECT_EQ(browser.WaitForPage(), "https://www.tesmargames.com");
    }
}

} // namespace
} // namespace tesmar::test
