#pragma once
// Small movies read into a stage, for the stage and player tests.
#include <memory>
#include "player/stage/Stage.h"
#include "player/swf/Movie.h"
#include "tests/native/swf/SwfBuilder.h"

namespace tesmar::test {

inline std::shared_ptr<const swf::Movie> readTestMovie(const std::vector<std::vector<uint8_t>>& tags,
                                                       uint16_t frames = 1) {
    auto result = swf::readMovie(movie(tags, 6, false, frames));
    return result.movie;
}

// DefineButton2 showing character `up` in the up state, `over` in the over
// and down states, `up` again as hit area; release actions are {0x07, 0x00}.
inline std::vector<uint8_t> button(uint16_t id, uint16_t up, uint16_t over) {
    BitWriter b;
    b.u16(id);
    b.u8(0);
    b.u16(2 + 2 * (1 + 2 + 2 + 6 + 1) + 1);
    auto record = [&](uint8_t states, uint16_t character) {
        b.u8(states);
        b.u16(character);
        b.u16(1);
        b.matrix();
        b.u8(0);
    };
    record(0x01 | 0x08, up);
    record(0x02 | 0x04, over);
    b.u8(0);
    b.u16(0);
    b.u8(0x08);   // release inside
    b.u8(0);
    b.raw({0x07, 0x00});
    return tag(34, b.bytes);
}

} // namespace tesmar::test
