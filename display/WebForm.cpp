#include "display/WebForm.h"

#include "display/TwipsPlacement.h"
#include "startup/Forms.h"

namespace tesmar {

namespace {

// The design boxes of the two controls, in twips; the load handler
// stretches both over the screen.
constexpr TwipsBox kHolderDesign{0, 0, 3855, 2895};

void SetTabStop(HWND control, bool tabStop)
{
    LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    style = tabStop ? style | WS_TABSTOP : style & ~LONG_PTR(WS_TABSTOP);
    SetWindowLongPtrW(control, GWL_STYLE, style);
}

} // namespace

void WebForm::load()
{
    if (window_)
        return;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));   // the arrow
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = design_.className;
    RegisterClassA(&windowClass);

    // No caption, border or icon, and no taskbar button (a tool window).
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    window_ = CreateWindowExA(WS_EX_TOOLWINDOW, design_.className, "", WS_POPUP | WS_CLIPCHILDREN, 0, 0, width,
                              height, nullptr, nullptr, windowClass.hInstance, this);
    blankHolder1_ = std::make_unique<BlankHolder>(window_, kHolderDesign);
    SetTabStop(blankHolder1_->window(), design_.holderTabStop);
    player_ = std::make_unique<PlayerControl>(window_, design_.storedPlayerState);
    SetWindowPos(player_->window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetTabStop(player_->window(), design_.playerTabStop);
    player_->onFsCommand = ShockwaveFlash1_FSCommand;
    Form_Load();
}

void WebForm::showModal()
{
    load();
    ShowWindow(window_, SW_SHOWMAXIMIZED);
    MSG message;
    while (IsWindow(window_) && GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void WebForm::Form_Load()
{
    // Each size is the whole screen's, read afresh for each assignment.
    blankHolder1_->setWidth(ReadScreenMetrics().widthTwips);
    blankHolder1_->setHeight(ReadScreenMetrics().heightTwips);
    player_->setWidth(ReadScreenMetrics().widthTwips);
    player_->setHeight(ReadScreenMetrics().heightTwips);
    SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void WebForm::Form_Activate()
{
    player_->setFocus();
}

void WebForm::ShockwaveFlash1_FSCommand(const std::string& command, const std::string&)
{
    if (command == "quit")
        EndProgram();
}

LRESULT CALLBACK WebForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* form = reinterpret_cast<WebForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
    case WM_GETMINMAXINFO: {
        // Maximized means the whole screen, not the work area beside a taskbar.
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        limits->ptMaxPosition = {0, 0};
        limits->ptMaxSize = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && form && form->player_) {
            form->Form_Activate();
            return 0;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace tesmar
