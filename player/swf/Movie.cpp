#include "player/swf/Movie.h"
#include "player/swf/Definitions.h"
#include "player/swf/Inflate.h"
#include "player/swf/PlaceReader.h"
#include "player/swf/Reader.h"
#include "player/swf/TagCodes.h"

namespace tesmar::swf {

RawMovie readHeader(std::span<const uint8_t> file) {
    RawMovie raw;
    if (file.size() < 8) { raw.error = "not a SWF file: too short"; return raw; }
    const bool zlib = file[0] == 'C', plain = file[0] == 'F';
    if (!(zlib || plain) || file[1] != 'W' || file[2] != 'S') {
        raw.error = file[0] == 'Z' ? "LZMA-compressed SWF is not supported" : "not a SWF file: bad signature";
        return raw;
    }
    Reader head(file.subspan(3, 5));
    raw.header.version = head.u8();
    raw.header.compressed = zlib;
    raw.header.fileLength = head.u32();
    if (raw.header.fileLength < 8 || raw.header.fileLength > kMaxMovieBytes) {
        raw.error = "declared file length out of range";
        return raw;
    }
    const size_t bodyLength = raw.header.fileLength - 8;
    if (zlib) {
        Inflated inflated = inflateCapped(file.subspan(8), bodyLength);
        raw.body = std::move(inflated.bytes);
    } else {
        // Uncompressed lengths are often slightly off; the data present counts.
        raw.body.assign(file.begin() + 8, file.end());
        if (raw.body.size() > kMaxMovieBytes) raw.body.resize(kMaxMovieBytes);
    }
    Reader r(raw.body);
    raw.header.frameSize = r.rect();
    raw.header.frameRate = r.u16() / 256.0;
    raw.header.frameCount = r.u16();
    if (r.failed()) raw.error = "truncated header";
    return raw;
}

namespace {

// Reads tags into a timeline (the main one, or a sprite's) and, at the top
// level, definitions into the dictionary.
class TagLoop {
public:
    TagLoop(Movie& movie, const ImageDecoder& decoder) : movie_(movie), definitions_(movie, decoder) {}

    void read(Reader& r, Timeline& timeline, bool inSprite) {
        Frame frame;
        bool frameHasContent = false;
        while (!r.atEnd()) {
            uint16_t codeAndLength = r.u16();
            uint16_t code = codeAndLength >> 6;
            uint32_t length = codeAndLength & 0x3F;
            if (length == 0x3F) length = r.u32();
            if (r.failed()) break;
            if (length > r.remaining()) {
                movie_.warnings.push_back("tag " + std::to_string(code) + " runs past the end; stopped");
                break;
            }
            Reader body(r.take(length));
            if (code == tag::End) {
                timeline.ended = true;
                break;
            }
            if (code == tag::ShowFrame) {
                timeline.frames.push_back(std::move(frame));
                frame = Frame{};
                frameHasContent = false;
                continue;
            }
            frameHasContent |= readControlTag(code, body, frame, inSprite);
        }
        timeline.lastFrameOpen = frameHasContent && !timeline.frames.empty();
        if (frameHasContent || timeline.frames.empty()) timeline.frames.push_back(std::move(frame));
    }

private:
    // Returns whether the tag put something into the frame.
    bool readControlTag(uint16_t code, Reader& body, Frame& frame, bool inSprite) {
        switch (code) {
        case tag::PlaceObject:
        case tag::PlaceObject2:
        case tag::PlaceObject3: {
            auto place = readPlaceObject(body, code, movie_.header.version);
            if (!place) { warn(code); return false; }
            frame.display.emplace_back(std::move(*place));
            return true;
        }
        case tag::RemoveObject:
        case tag::RemoveObject2: {
            RemoveObject remove;
            if (code == tag::RemoveObject) remove.characterId = body.u16();
            remove.depth = body.u16();
            if (body.failed()) { warn(code); return false; }
            frame.display.emplace_back(remove);
            return true;
        }
        case tag::DoAction:
            frame.actions.emplace_back(body.bytes().begin(), body.bytes().end());
            frame.actionsAfter.push_back(frame.display.size());
            return true;
        case tag::DoInitAction: {
            InitAction init;
            init.spriteId = body.u16();
            auto rest = body.rest();
            if (body.failed()) { warn(code); return false; }
            init.actions.assign(rest.begin(), rest.end());
            frame.initActions.push_back(std::move(init));
            return true;
        }
        case tag::FrameLabel: {
            std::string label = body.cstring();
            if (body.failed()) { warn(code); return false; }
            frame.labels.push_back(std::move(label));
            return true;
        }
        case tag::SetBackgroundColor:
            if (!inSprite) {
                movie_.background = body.rgb();
                movie_.hasBackground = !body.failed();
            }
            return false;
        case tag::ScriptLimits:
            if (!inSprite) {
                const uint16_t depth = body.u16();
                if (!body.failed()) movie_.maxRecursionDepth = depth;
            }
            return false;
        case tag::FileAttributes:
            if (!inSprite) movie_.useNetwork = (body.u8() & 1) != 0 && !body.failed();
            return false;
        case tag::ExportAssets:
            if (!inSprite) readExports(body);
            return false;
        case tag::DefineSprite:
            if (inSprite) { warn(code); return false; }   // sprites do not nest
            readSprite(body);
            return false;
        default:
            if (!inSprite) {
                if (!definitions_.read(code, body)) warn(code);
            }
            return false;
        }
    }

    void readSprite(Reader& body) {
        uint16_t id = body.u16();
        SpriteDef sprite;
        sprite.timeline.declaredFrameCount = body.u16();
        if (body.failed()) { warn(tag::DefineSprite); return; }
        read(body, sprite.timeline, true);
        movie_.dictionary[id] = std::make_shared<const Character>(std::move(sprite));
    }

    void readExports(Reader& body) {
        uint16_t count = body.u16();
        for (uint16_t i = 0; i < count && !body.failed(); ++i) {
            uint16_t id = body.u16();
            std::string name = body.cstring();
            if (!body.failed()) movie_.exports[name] = id;
        }
    }

    void warn(uint16_t code) { movie_.warnings.push_back("tag " + std::to_string(code) + " is malformed; skipped"); }

    Movie& movie_;
    DefinitionReader definitions_;
};

} // namespace

ReadResult readMovie(std::span<const uint8_t> file, const ImageDecoder& decoder) {
    ReadResult result;
    RawMovie raw = readHeader(file);
    if (!raw.error.empty()) { result.error = raw.error; return result; }
    auto movie = std::make_shared<Movie>();
    movie->header = raw.header;
    movie->timeline.declaredFrameCount = raw.header.frameCount;
    Reader r(raw.body);
    r.rect();
    r.skip(4);
    TagLoop(*movie, decoder).read(r, movie->timeline, false);
    result.movie = std::move(movie);
    return result;
}

} // namespace tesmar::swf
