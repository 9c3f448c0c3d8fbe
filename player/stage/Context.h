#pragma once
// What every display object of one player shares: the change flag that
// tells the host to redraw, and the queue of scripts the timeline asks to run.
#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>
#include "player/render/Renderer.h"
#include "player/swf/Movie.h"

namespace tesmar {
class Host;
}

namespace tesmar::stage {

class MovieClip;
class DisplayObject;

// A loaded movie: the parsed file and its bitmaps as the renderer sees them.
class LoadedMovie : public render::BitmapSource {
public:
    explicit LoadedMovie(std::shared_ptr<const swf::Movie> movie, std::string url = {})
        : movie_(std::move(movie)), url_(std::move(url)) {}
    const swf::Movie& movie() const { return *movie_; }
    const std::shared_ptr<const swf::Movie>& shared() const { return movie_; }
    const std::string& url() const { return url_; }
    int version() const { return movie_->header.version; }
    const Image* bitmap(uint16_t characterId) const override {
        const auto* def = movie_->get<swf::BitmapDef>(characterId);
        return def && !def->image.empty() ? &def->image : nullptr;
    }

private:
    std::shared_ptr<const swf::Movie> movie_;
    std::string url_;
};

// Action bytes that a frame, a button or a clip event asks to run, in order.
// The clip is named by its serial: it may be gone by the time the actions
// are due (Context::find then answers nullptr).
struct QueuedActions {
    enum class Source : uint8_t { InitAction, Frame, Button, ClipEvent };
    Source source = Source::Frame;
    uint64_t clip = 0;                         // serial of the timeline the actions run on
    std::shared_ptr<const swf::Movie> movie;   // keeps the bytes alive
    const swf::Bytes* actions = nullptr;       // ClipEvent: null calls the event's method instead
    uint32_t clipEvent = 0;                    // ClipEvent: the event flag
    // ClipEvent: keeps the handlers alive when the clip goes before they run.
    std::shared_ptr<const std::vector<swf::ClipAction>> clipActions;
};

// Limits that keep a hostile movie from building without end: clips that
// place themselves, or trees that multiply at each level.
constexpr int kMaxNesting = 64;
constexpr size_t kMaxObjects = 100000;

struct Context {
    bool dirty = true;                  // something visible changed since the last render
    uint64_t tick = 0;                  // counts the frames the player has run
    std::vector<QueuedActions> actions; // collected during a tick, run after it
    // Every live display object by serial (serials are never reused).
    std::unordered_map<uint64_t, DisplayObject*> objects;
    uint64_t nextSerial = 1;
    // Numbers the "instanceN" names of objects the timeline places unnamed.
    uint64_t instanceNames = 0;
    // The buttons under the pointer and pressed, by serial.
    uint64_t hovered = 0, pressed = 0;
    int nesting = 0;                    // clips being built inside one another
    // Players keep bounds in floats once SWF 8 content asks for them (see
    // getBounds): from this tick on an empty rectangle's corner reads
    // 6710886.4 (2^27 twips), not 6710886.35.
    uint64_t floatBoundsFrom = UINT64_MAX;
    bool floatBounds() const { return tick >= floatBoundsFrom; }
    std::vector<uint64_t> unloading;    // parked clips that leave at the next frame
    Host* host = nullptr;               // device fonts for text fields
    using ObjectTest = std::function<bool(const DisplayObject&)>;
    ObjectTest unloadTest;              // scripts: whether a clip has an unload method

    void changed() { dirty = true; }
    DisplayObject* find(uint64_t serial) const {
        auto it = objects.find(serial);
        return it == objects.end() ? nullptr : it->second;
    }
};

} // namespace tesmar::stage
