#include "display/PlayerControl.h"

#include <windowsx.h>
#include <objbase.h>

#include <cstring>

#include "display/PlayerStartState.h"
#include "display/TransparentControl.h"
#include "display/TwipsPlacement.h"
#include "display/WindowsHost.h"
#include "display/portable/Twips.h"
#include "player/Player.h"

namespace tesmar {

namespace {

constexpr const wchar_t* kClassName = L"TesmarPlayer";
constexpr UINT_PTR kFrameTimer = 1;
// A window that fell further behind than this (it was busy, or the machine
// slept) drops the lost frames instead of racing through them.
constexpr long long kMostFramesPerTurn = 3;

} // namespace

struct PlayerControl::Impl {
    PlayerControl& owner;
    HWND window = nullptr;
    std::unique_ptr<WindowsHost> host;
    std::unique_ptr<Player> player;
    std::optional<Rgba> background;   // the stored BGColor, over every movie's own

    // The window's pixels: a DIB section selected into a memory DC.
    HDC memoryDc = nullptr;
    HBITMAP dib = nullptr;
    HGDIOBJ previousBitmap = nullptr;
    void* dibBits = nullptr;
    int dibWidth = 0, dibHeight = 0;
    Image frame;
    bool mouseTracked = false;
    bool inTurn = false;

    // Frames are counted from a start time, so the rate holds on average
    // whatever the timer's granularity.
    double frameRate = 0;
    double clockStartMs = 0;
    long long framesRun = 0;

    explicit Impl(PlayerControl& control) : owner(control) {}

    ~Impl()
    {
        if (window)
            DestroyWindow(window);
        freeDib();
    }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<Impl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (!self || !self->player)
            return DefWindowProcW(window, message, wParam, lParam);
        return self->handle(message, wParam, lParam);
    }

    static void RegisterClassOnce()
    {
        static const bool registered = [] {
            WNDCLASSW windowClass{};
            windowClass.style = CS_DBLCLKS;
            windowClass.lpfnWndProc = WindowProc;
            windowClass.hInstance = GetModuleHandleW(nullptr);
            windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));   // the arrow
            windowClass.lpszClassName = kClassName;
            return RegisterClassW(&windowClass) != 0;
        }();
        (void)registered;
    }

    void start(const PlayerStartState& state)
    {
        player->setQuality(state.quality);
        background = state.background;
        if (!state.movie.empty() && player->load(state.movie, "")) {
            stage::MovieClip* root = player->stage().level(0);
            if (!state.play)
                root->stop();
            root->setLoops(state.loop);
        }
        restartClock(0);
    }

    // --- Time --------------------------------------------------------------

    // framesShown: 0 before the first frame, which is then due at once; 1
    // when a frame has just been shown, so the next is due a period later.
    void restartClock(long long framesShown)
    {
        frameRate = player->frameRate();
        clockStartMs = host->nowMs();
        framesRun = framesShown;
        // Woken twice a frame: the count of frames due decides what runs.
        const UINT interval = UINT(std::max(10.0, 500.0 / frameRate));
        SetTimer(window, kFrameTimer, interval, nullptr);
    }

    void onTimer()
    {
        const double periodMs = 1000.0 / frameRate;
        long long due = (long long)((host->nowMs() - clockStartMs) / periodMs) + 1 - framesRun;
        if (due <= 0)
            return;
        if (due > kMostFramesPerTurn) {
            framesRun += due - 1;
            due = 1;
        }
        runFrames(int(due));
        if (player->frameRate() != frameRate)
            restartClock(1);
    }

    void runFrames(int count)
    {
        if (inTurn)
            return;   // a command's handler is running a modal loop of its own
        inTurn = true;
        for (int i = 0; i < count; ++i) {
            player->tick();
            ++framesRun;
        }
        if (background && player->background() != *background)
            player->stage().setBackground(*background);
        present();
        deliverCommands();
        inTurn = false;
    }

    void deliverCommands()
    {
        for (const auto& [command, args] : host->takeCommands())
            if (owner.onFsCommand)
                owner.onFsCommand(command, args);
    }

    // --- Drawing -----------------------------------------------------------

    void freeDib()
    {
        if (memoryDc) {
            SelectObject(memoryDc, previousBitmap);
            DeleteDC(memoryDc);
            memoryDc = nullptr;
        }
        if (dib) {
            DeleteObject(dib);
            dib = nullptr;
        }
        dibBits = nullptr;
        dibWidth = dibHeight = 0;
    }

    void resizeDib(int width, int height)
    {
        freeDib();
        if (width <= 0 || height <= 0)
            return;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;   // top row first, as the player draws
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &dibBits, nullptr, 0);
        if (!dib)
            return;
        memoryDc = CreateCompatibleDC(nullptr);
        previousBitmap = SelectObject(memoryDc, dib);
        dibWidth = width;
        dibHeight = height;
        player->setViewSize(width, height);
        draw();
    }

    // Draws the stage into the DIB and asks for the window to be painted.
    void draw()
    {
        if (!dibBits)
            return;
        player->render(frame);
        if (frame.width == dibWidth && frame.height == dibHeight)
            std::memcpy(dibBits, frame.pixels.data(), frame.pixels.size() * sizeof(uint32_t));
        InvalidateRect(window, nullptr, FALSE);
    }

    // Nothing is drawn or painted while the stage stays the same.
    void present()
    {
        if (player->needsRedraw())
            draw();
    }

    void paint()
    {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        if (!player->stage().level(0)) {
            EraseWithParentBackground(window, dc);   // until a movie arrives
        } else if (memoryDc) {
            const RECT& area = paint.rcPaint;
            BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, memoryDc,
                   area.left, area.top, SRCCOPY);
        }
        EndPaint(window, &paint);
    }

    // --- Input -------------------------------------------------------------

    void pointerAt(LPARAM lParam)
    {
        if (!mouseTracked) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
            mouseTracked = TrackMouseEvent(&track);
        }
        player->mouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    }

    bool pointerOverButton() const
    {
        POINT at;
        GetCursorPos(&at);
        ScreenToClient(window, &at);
        return player->stage().buttonAt(at.x, at.y) != nullptr;
    }

    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam)
    {
        switch (message) {
        case WM_TIMER:
            if (wParam == kFrameTimer)
                onTimer();
            return 0;
        case kFetchDoneMessage: {
            std::unique_ptr<FetchResult> result = TakeFetchResult(lParam);
            player->fetchDone(result->request, result->ok, result->bytes);
            return 0;
        }
        case WM_SIZE:
            resizeDib(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_ERASEBKGND:
            return 1;   // WM_PAINT covers every pixel
        case WM_PAINT:
            paint();
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && pointerOverButton()) {
                SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));   // the hand
                return TRUE;
            }
            break;
        case WM_MOUSEMOVE:
            pointerAt(lParam);
            present();
            return 0;
        case WM_MOUSELEAVE:
            mouseTracked = false;
            if (GetCapture() != window) {
                player->mouseMove(-1, -1);
                present();
            }
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            SetFocus(window);
            SetCapture(window);
            pointerAt(lParam);
            player->mouseDown();
            present();
            return 0;
        case WM_LBUTTONUP:
            ReleaseCapture();
            pointerAt(lParam);
            player->mouseUp();
            present();
            return 0;
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            SetFocus(window);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;   // Tab, arrows and Enter belong to the movie
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            // Movies see the virtual-key codes themselves: letters and digits
            // as upper-case ASCII, the arrows as 37 to 40 and so on.
            if (wParam > 0 && wParam < 256)
                player->keyDown(uint8_t(wParam));
            if (message == WM_SYSKEYDOWN)
                break;   // Alt+F4 and the like keep working
            return 0;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            player->keyUp();
            if (message == WM_SYSKEYUP)
                break;
            return 0;
        case WM_DESTROY:
            KillTimer(window, kFrameTimer);
            DiscardFetchResults(window, kFetchDoneMessage);
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            window = nullptr;
            break;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
};

PlayerControl::PlayerControl(HWND parent, int storedStateResource) : impl_(std::make_unique<Impl>(*this))
{
    // Images are decoded with WIC, which needs COM on this thread.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Impl::RegisterClassOnce();
    const PlayerStartState state = LoadPlayerStartState(storedStateResource);
    impl_->window = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0,
                                    state.designWidthPixels, state.designHeightPixels, parent, nullptr,
                                    GetModuleHandleW(nullptr), impl_.get());
    impl_->host = std::make_unique<WindowsHost>(impl_->window);
    impl_->player = std::make_unique<Player>(*impl_->host);
    // The first frame runs on the first timer turn, once the window has
    // set onFsCommand; until then the DIB holds the movie's background.
    impl_->start(state);
    RECT client{};
    GetClientRect(impl_->window, &client);
    impl_->resizeDib(client.right, client.bottom);
}

PlayerControl::~PlayerControl() = default;

HWND PlayerControl::window() const
{
    return impl_->window;
}

void PlayerControl::setMovie(const std::string& location)
{
    if (!location.empty())
        impl_->player->loadMovie(0, location);
}

namespace {

RECT WindowRectInParent(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void Place(HWND window, int left, int top, int width, int height)
{
    SetWindowPos(window, nullptr, left, top, std::max(width, 0), std::max(height, 0),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

void PlayerControl::setLeft(float twips)
{
    const RECT r = WindowRectInParent(impl_->window);
    Place(impl_->window, twipsToPixels(twips, ReadScreenMetrics().twipsPerPixelX), r.top, r.right - r.left, r.bottom - r.top);
}

void PlayerControl::setTop(float twips)
{
    const RECT r = WindowRectInParent(impl_->window);
    Place(impl_->window, r.left, twipsToPixels(twips, ReadScreenMetrics().twipsPerPixelY), r.right - r.left, r.bottom - r.top);
}

void PlayerControl::setWidth(float twips)
{
    const RECT r = WindowRectInParent(impl_->window);
    Place(impl_->window, r.left, r.top, twipsToPixels(twips, ReadScreenMetrics().twipsPerPixelX), r.bottom - r.top);
}

void PlayerControl::setHeight(float twips)
{
    const RECT r = WindowRectInParent(impl_->window);
    Place(impl_->window, r.left, r.top, r.right - r.left, twipsToPixels(twips, ReadScreenMetrics().twipsPerPixelY));
}

void PlayerControl::setFocus()
{
    SetFocus(impl_->window);
}

} // namespace tesmar
