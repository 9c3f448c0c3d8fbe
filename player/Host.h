#pragma once
// What a host gives the player: the things it cannot do itself. Every call
// comes from, and returns on, the host's thread; none may block for long.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include "player/geom/Image.h"

namespace tesmar {

class Host {
public:
    virtual ~Host() = default;
    // Starts fetching url. The host answers later with Player::fetchDone(request, ...).
    virtual void fetch(uint32_t request, const std::string& url) = 0;
    // Opens an address in the user's web browser (only http:, https: and
    // mailto: addresses ever reach this).
    virtual void openInBrowser(const std::string& url) = 0;
    virtual void fsCommand(const std::string& command, const std::string& args) = 0;
    virtual void trace(const std::string& line) = 0;
    // Milliseconds on a steady clock.
    virtual double nowMs() = 0;
    // JPEG, PNG or GIF bytes into a premultiplied image.
    virtual std::optional<Image> decodeImage(std::span<const uint8_t> bytes) = 0;
};

} // namespace tesmar
