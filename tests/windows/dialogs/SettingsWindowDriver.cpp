#include "SettingsWindowDriver.h"

namespace tesmar::test {

SettingsWindow::SettingsWindow(const std::map<std::string, std::string>& store)
    : program_((StoreSettings(store), ScreenSaver::Start("/c")))
{
    window_ = program_.WaitForWindow("SettingsDialog", WindowWaitMs);
    if (window_ == nullptr)
        ADD_FAILURE() << "the settings window did not open";
    Settle();
}

HWND SettingsWindow::Control(int id) const
{
    HWND control = GetDlgItem(window_, id);
    if (control == nullptr)
        ADD_FAILURE() << "no control " << id;
    return control;
}

bool SettingsWindow::IsEnabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }

bool SettingsWindow::IsChecked(int id) const
{
    return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string SettingsWindow::Text(int id) const { return WindowText(Control(id)); }

void SettingsWindow::Click(int id) const { PostMessageA(Control(id), BM_CLICK, 0, 0); }

void SettingsWindow::Type(int id, const std::string& characters) const
{
    for (char character : characters) {
        PostMessageA(Control(id), WM_CHAR, static_cast<unsigned char>(character), 1);
        Settle();
    }
}

void SettingsWindow::Settle() const
{
    // Sent messages overtake posted ones, so the marker is posted too: a new
    // text limit for the path box (far above any path), which the program
    // has set once it has handled everything posted before it. While a modal
    // box is open, its loop handles the marker.
    static WPARAM marker = 0x7FFFFFF0;
    marker = marker == 0x7FFFFFF0 ? 0x7FFFFFF1 : 0x7FFFFFF0;
    HWND pathBox = Control(IDC_FILE_TEXT_BOX);
    PostMessageA(pathBox, EM_SETLIMITTEXT, marker, 0);
    for (int i = 0; i < 250; ++i) {
        DWORD_PTR limit = 0;
        if (!SendMessageTimeoutA(pathBox, EM_GETLIMITTEXT, 0, 0, SMTO_NORMAL, 1000, &limit) ||
            limit == marker)
            return;
        Sleep(20);
    }
    ADD_FAILURE() << "the program did not handle its messages in time";
}

HWND SettingsWindow::WaitForMessageBox(DWORD timeoutMs) const
{
    return program_.WaitForWindow("#32770", timeoutMs);
}

std::string WindowText(HWND window)
{
    char text[1024] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000,
                        &length);
    return std::string(text, length);
}

std::string StaticTexts(HWND window)
{
    std::string texts;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM context) -> BOOL {
            char className[64] = {};
            GetClassNameA(child, className, sizeof className);
            if (lstrcmpiA(className, "Static") == 0)
                *reinterpret_cast<std::string*>(context) += WindowText(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
}

COLORREF ScreenColourAt(HWND window, int x, int y)
{
    POINT point{x, y};
    ClientToScreen(window, &point);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

void DismissMessageBox(HWND box)
{
    PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
}

} // namespace tesmar::test
