#pragma once
// The player's host on Windows: fetches through MovieFetcher (answers come
// back to the control's window as kFetchDoneMessage), opens addresses in
// the user's browser through the shell, decodes images with WIC, outlines
// device fonts with GDI and reads a steady clock. FSCommands are collected
// and handed out by takeCommands after the player's tick, so that whatever
// the window does with one (even a modal message) never runs inside the
// player's scripts.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "display/DeviceFonts.h"
#include "display/MovieFetcher.h"
#include "player/Host.h"

namespace tesmar {

inline constexpr UINT kFetchDoneMessage = WM_APP + 1;

class WindowsHost : public Host {
public:
    explicit WindowsHost(HWND replyWindow);

    void fetch(uint32_t request, const std::string& url) override;
    void openInBrowser(const std::string& url) override;
    void fsCommand(const std::string& command, const std::string& args) override;
    void trace(const std::string& line) override;
    double nowMs() override;
    std::optional<Image> decodeImage(std::span<const uint8_t> bytes) override;
    std::optional<DeviceGlyph> deviceGlyph(const std::string& font, bool bold, bool italic, char32_t c) override;

    using Command = std::pair<std::string, std::string>;   // command, arguments
    std::vector<Command> takeCommands();

private:
    MovieFetcher fetcher_;
    DeviceFonts fonts_;
    std::vector<Command> commands_;
    LARGE_INTEGER clockFrequency_{};
};

} // namespace tesmar
