#include "host/MovieRun.h"
#include <algorithm>
#include "host/NativeHost.h"
#include "player/Player.h"

namespace tesmar::host {

namespace {

void inject(Player& player, const InputEvent& event) {
    switch (event.type) {
    // A move event is a move even where the pointer already is.
    case InputEvent::Type::MouseMove: player.mouseMove(event.x, event.y, !event.buttonUnheard); break;
    case InputEvent::Type::MouseDown: player.mouseMove(event.x, event.y); player.mouseDown(); break;
    case InputEvent::Type::MouseUp: player.mouseMove(event.x, event.y); player.mouseUp(); break;
    case InputEvent::Type::KeyDown:
        if (event.keyCode) player.keyDown(uint8_t(event.keyCode), uint16_t(event.ascii));
        break;
    case InputEvent::Type::KeyUp:
        if (event.keyCode) player.keyUp(uint8_t(event.keyCode), uint16_t(event.ascii));
        break;
    case InputEvent::Type::TextInput:
        if (event.codepoint) player.textInput(event.codepoint);
        break;
    case InputEvent::Type::TextControl: player.textCommand(event.command); break;
    case InputEvent::Type::SetClipboardText: player.setClipboard(event.text); break;
    case InputEvent::Type::FocusLost: player.focusLost(); break;
    default: break;
    }
}

} // namespace

RunResult runMovie(const std::string& path, const RunOptions& options) {
    RunResult result;
    std::vector<uint8_t> bytes;
    if (!readFile(path, bytes)) {
        result.error = "cannot read " + path;
        return result;
    }
    NativeHost host;
    host.echoTrace = options.echoTrace;
    host.logRequests = options.logRequests;
    if (options.screenWidth > 0 && options.screenHeight > 0) host.screen = {options.screenWidth, options.screenHeight};
    // The movie plays at the root of a file address, its folder standing for
    // that root: addresses the movie shows or resolves stay short.
    const size_t slash = path.find_last_of('/');
    host.movieFolder = slash == std::string::npos ? "." : path.substr(0, slash);
    Player player(host);
    if (!player.load(bytes, "file:///" + path.substr(slash == std::string::npos ? 0 : slash + 1))) {
        result.error = player.error();
        return result;
    }
    result.loaded = true;
    player.setQuality(options.highQuality ? render::Quality::High : render::Quality::Low);
    player.setViewSize(options.width > 0 ? options.width : player.stageWidth(),
                       options.height > 0 ? options.height : player.stageHeight());
    size_t next = 0;
    // Input follows the frame it waited for: the first events arrive once
    // the first frame has run, each Wait lets the next frame run.
    for (int frame = 0; frame < options.frames; ++frame) {
        host.deliverFetches(player);
        player.tick();
        // A fetch that fails is known within the frame that asked for it.
        host.deliverFetches(player);
        host.deliverSockets(player);
        host.clockMs += 1000.0 / player.frameRate();
        while (next < options.events.size()) {
            const InputEvent& event = options.events[next++];
            if (event.type == InputEvent::Type::Wait) break;
            inject(player, event);
        }
        const int tick = frame + 1;
        if (std::find(options.captureTicks.begin(), options.captureTicks.end(), tick) != options.captureTicks.end())
            player.render(result.captures[tick]);
    }
    if (options.render) player.render(result.image);
    // The run ends between frames: what arrived after the last one still
    // reaches the movie's scripts.
    // Loads that those scripts start in turn are followed a bounded number of times.
    for (int round = 0; round < 16; ++round) {
        host.deliverFetches(player);
        player.finishLoads();
        if (!host.fetchesWaiting()) break;
    }
    result.traces = std::move(host.traces);
    return result;
}

} // namespace tesmar::host
