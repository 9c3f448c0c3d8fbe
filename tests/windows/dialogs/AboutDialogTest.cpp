// The About window: opened from the settings window, centred when loaded,
// hidden by OK, unloaded by its close box; its link opens the home page.
#include "SettingsWindowDriver.h"
#include "StoredChoices.h"

#include <cstdio>
#include <algorithm>
#include <fstream>
#include <sstream>

namespace tesmar::test {
namespace {

constexpr const char* HomePage = "https://www.tesmargames.com";
constexpr const char* OpenedPagesFile = "C:\\tesmar-opened-pages.txt";

class AboutDialogTest : public ScreenSaverTest {
protected:
    HWND OpenAbout(SettingsWindow& settings)
    {
        settings.Click(IDC_ABOUT_BUTTON);
        HWND about = settings.Program().WaitForWindow("ConfigureDialog", WindowWaitMs);
        EXPECT_NE(about, nullptr);
        return about;
    }

    static bool WaitUntilHidden(HWND window)
    {
        for (int i = 0; i < 250 && IsWindowVisible(window); ++i)
            Sleep(20);
        return !IsWindowVisible(window);
    }
};

RECT WindowRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

void ExpectCentred(HWND window)
{
    const RECT rect = WindowRect(window);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    EXPECT_NEAR(rect.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2.0, 1.0);
    EXPECT_NEAR(rect.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2.0, 1.0);
}

TEST_F(AboutDialogTest, ShowsTheProductVersionAndLink)
{
    SettingsWindow settings(CompleteStore({{"gDefault", "True"}}));
    HWND about = OpenAbout(settings);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(WindowText(about), "About Tesmar Flash Screen Saver");
    EXPECT_EQ(WindowText(GetDlgItem(about, IDC_ABOUT_TITLE)), "Tesmar Flash Screen Saver");
    EXPECT_EQ(WindowText(GetDlgItem(about, IDC_ABOUT_VERSION)), "Version 3.5");
    EXPECT_EQ(WindowText(GetDlgItem(about, IDC_ABOUT_LINK)), HomePage);
    EXPECT_FALSE(WindowText(GetDlgItem(about, IDC_ABOUT_RIGHTS)).empty());
    RECT client;
    GetClientRect(about, &client);
    EXPECT_EQ(client.right, 289);
    EXPECT_EQ(client.bottom, 164);
    EXPECT_FALSE(IsWindowEnabled(settings.Window()));  // modal over the settings window
}

TEST_F(AboutDialogTest, OkHidesAndKeepsThePlaceTheCloseBoxUnloadsAndCentresAgain)
{
    SettingsWindow settings(CompleteStore({}));
    SetWindowPos(settings.Window(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    HWND about = OpenAbout(settings);
    ASSERT_NE(about, nullptr);
    ExpectCentred(about);

    SetWindowPos(about, nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    PostMessageA(GetDlgItem(about, IDC_ABOUT_OK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntilHidden(about));
    EXPECT_TRUE(IsWindow(about));  // hidden, still loaded
    EXPECT_TRUE(IsWindowEnabled(settings.Window()));

    HWND again = OpenAbout(settings);
    EXPECT_EQ(again, about);
    EXPECT_EQ(WindowRect(again).left, 10);
    EXPECT_EQ(WindowRect(again).top, 20);

    PostMessageA(again, WM_SYSCOMMAND, SC_CLOSE, 0);
    for (int i = 0; i < 250 && IsWindow(again); ++i)
        Sleep(20);
    EXPECT_FALSE(IsWindow(again));
    settings.Settle();
    EXPECT_TRUE(IsWindowEnabled(settings.Window()));

    HWND reloaded = OpenAbout(settings);
    ASSERT_NE(reloaded, nullptr);
    ExpectCentred(reloaded);
}

TEST_F(AboutDialogTest, EscDoesNotCloseItAndCancelEndsTheProgramWithItHidden)
{
    const Store before = CompleteStore({{"gDefault", "True"}});
    SettingsWindow settings(before);
    HWND about = OpenAbout(settings);
    ASSERT_NE(about, nullptr);
    PostMessageA(about, WM_KEYDOWN, VK_ESCAPE, 1);
    settings.Settle();
    EXPECT_TRUE(IsWindowVisible(about));
    // Enter presses the focused OK button.
    PostMessageA(about, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_TRUE(WaitUntilHidden(about));
    settings.Click(IDC_CANCEL_BUTTON);
    EXPECT_TRUE(settings.Program().WaitForExit(5000));
    EXPECT_EQ(ReadAllStoredSettings(), before);
}

// Wine's browser launcher starts the programs listed here for a web address.
class BrowserStandIn {
public:
    BrowserStandIn()
    {
        std::string source = __FILE__;
        const std::string script = source.substr(0, source.find_last_of("/\\") + 1) + "record-browser.sh";
        RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\WineBrowser", 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key_, nullptr);
        RegSetValueExA(key_, "Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>(script.c_str()),
                       static_cast<DWORD>(script.size() + 1));
        DeleteFileA(OpenedPagesFile);
    }
    ~BrowserStandIn()
    {
        RegDeleteValueA(key_, "Browsers");
        RegCloseKey(key_);
        DeleteFileA(OpenedPagesFile);
    }

    // The addresses opened so far, one a line, once there are at least
    // `count` of them. Wine's launcher ends a bare host name with "/".
    std::string WaitForPages(size_t count) const
    {
        std::string pages;
        for (int i = 0; i < 500; ++i) {
            std::ifstream file(OpenedPagesFile);
            std::stringstream text;
            text << file.rdbuf();
            pages = text.str();
            if (static_cast<size_t>(std::count(pages.begin(), pages.end(), '\n')) >= count)
                break;
            Sleep(40);
        }
        for (size_t slash; (slash = pages.find("/\n")) != std::string::npos;)
            pages.erase(slash, 1);
        return pages;
    }

private:
    HKEY key_ = nullptr;
};

void ClickLink(HWND about)
{
    HWND link = GetDlgItem(about, IDC_ABOUT_LINK);
    PostMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

TEST_F(AboutDialogTest, TheLinkOpensTheHomePageEachTimeAndTheWindowStays)
{
    BrowserStandIn browser;
    SettingsWindow settings(CompleteStore({}));
    HWND about = OpenAbout(settings);
    ASSERT_NE(about, nullptr);
    ClickLink(about);
    EXPECT_EQ(browser.WaitForPages(1), std::string(HomePage) + "\n");
    ClickLink(about);
    EXPECT_EQ(browser.WaitForPages(2), std::string(HomePage) + "\n" + HomePage + "\n");
    EXPECT_TRUE(IsWindowVisible(about));
    EXPECT_TRUE(settings.Program().IsRunning());
}

TEST_F(AboutDialogTest, TheProgramCarriesTheHandPointerWithItsHotSpotAtTheFingertip)
{
    HMODULE program = LoadLibraryExA(ScreenSaverPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    HRSRC group = FindResourceA(program, MAKEINTRESOURCEA(101), RT_GROUP_CURSOR);
    ASSERT_NE(group, nullptr);
    // The group names one 32x32 image; the image itself starts with its hot spot.
    const auto* directory = static_cast<const WORD*>(LockResource(LoadResource(program, group)));
    ASSERT_EQ(directory[2], 1);
    const BYTE* entry = reinterpret_cast<const BYTE*>(directory + 3);
    EXPECT_EQ(entry[0], 32);   // width
    EXPECT_EQ(entry[2], 64);   // height of both masks
    const WORD imageId = *reinterpret_cast<const WORD*>(entry + 12);
    HRSRC image = FindResourceA(program, MAKEINTRESOURCEA(imageId), RT_CURSOR);
    ASSERT_NE(image, nullptr);
    const auto* hotSpot = static_cast<const WORD*>(LockResource(LoadResource(program, image)));
    EXPECT_EQ(hotSpot[0], 6);
    EXPECT_EQ(hotSpot[1], 1);
    FreeLibrary(program);
}

} // namespace
} // namespace tesmar::test
