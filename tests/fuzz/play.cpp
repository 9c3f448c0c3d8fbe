// Reads any input as a movie, plays ten frames with some pointer input and
// renders each one: nothing may crash, hang or allocate without bound.
#include <cstddef>
#include <cstdint>
#include "player/Player.h"

namespace {

class QuietHost : public tesmar::Host {
public:
    void fetch(uint32_t, const std::string&) override {}
    void openInBrowser(const std::string&) override {}
    void fsCommand(const std::string&, const std::string&) override {}
    void trace(const std::string&) override {}
    double nowMs() override { return 0; }
    std::optional<tesmar::Image> decodeImage(std::span<const uint8_t>) override { return std::nullopt; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QuietHost host;
    tesmar::Player player(host);
    if (!player.load({data, size}, "fuzz.swf")) return 0;
    player.setViewSize(64, 48);
    tesmar::Image image;
    for (int frame = 0; frame < 10; ++frame) {
        player.mouseMove(frame * 6.0, frame * 4.0);
        if (frame == 3) player.mouseDown();
        if (frame == 5) player.mouseUp();
        player.tick();
        player.render(image);
    }
    return 0;
}
