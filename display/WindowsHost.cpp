#include "display/WindowsHost.h"

#include <shellapi.h>

#include "display/WicImageDecoder.h"
#include "display/WideText.h"
#include "player/Player.h"

namespace tesmar {

namespace {

// A movie that sends FSCommands without end in one frame cannot grow the
// list without bound; the window sees the first ones.
constexpr size_t kMaxCommandsPerTurn = 64;

} // namespace

WindowsHost::WindowsHost(HWND replyWindow) : fetcher_(replyWindow, kFetchDoneMessage)
{
    QueryPerformanceFrequency(&clockFrequency_);
}

void WindowsHost::fetch(uint32_t request, const std::string& url)
{
    fetcher_.fetch(request, url);
}

void WindowsHost::openInBrowser(const std::string& url)
{
    // The player lets only these through; the check is repeated here because
    // this is where an address becomes a program being started.
    if (!browserMayOpen(url))
        return;
    ShellExecuteW(nullptr, L"open", WideFromText(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void WindowsHost::fsCommand(const std::string& command, const std::string& args)
{
    if (commands_.size() < kMaxCommandsPerTurn)
        commands_.emplace_back(command, args);
}

void WindowsHost::trace(const std::string& line)
{
    OutputDebugStringW((WideFromText(line) + L"\n").c_str());
}

double WindowsHost::nowMs()
{
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    if (clockFrequency_.QuadPart <= 0)
        return double(GetTickCount64());
    return double(now.QuadPart) * 1000.0 / double(clockFrequency_.QuadPart);
}

std::optional<Image> WindowsHost::decodeImage(std::span<const uint8_t> bytes)
{
    return DecodeImageWithWic(bytes);
}

std::optional<DeviceGlyph> WindowsHost::deviceGlyph(const std::string& font, bool bold, bool italic, char32_t c)
{
    return fonts_.glyph(font, bold, italic, c);
}

std::vector<WindowsHost::Command> WindowsHost::takeCommands()
{
    std::vector<Command> taken;
    taken.swap(commands_);
    return taken;
}

} // namespace tesmar
