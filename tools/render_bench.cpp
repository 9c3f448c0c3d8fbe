// render_bench MOVIE [--frames N] [--size WxH] [--repeat R]
// Plays a movie headless to its last frame (or frame N), then renders that
// frame R times and fills the same bitmap with one colour R times,
// alternating the two, and prints the median of each and their ratio: how
// many times the memory-bandwidth floor one frame costs. Times are the
// processor time of this program, so that other work on a busy machine
// does not count against the longer of the two.
#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include "host/NativeHost.h"
#include "player/Player.h"
#include "player/swf/Movie.h"

namespace {

struct Options {
    std::string movie;
    int frames = 0;   // 0: the movie's own frame count
    int width = 1920, height = 1080;
    int repeat = 30;
};

void usage() {
    std::fprintf(stderr, "usage: render_bench MOVIE [--frames N] [--size WxH] [--repeat R]\n");
}

bool parseCount(const char* text, int low, int high, int& out) {
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || v < low || v > high) return false;
    out = int(v);
    return true;
}

bool parseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--frames" && hasValue) {
            if (!parseCount(argv[++i], 1, 100000, o.frames)) return false;
        } else if (arg == "--repeat" && hasValue) {
            if (!parseCount(argv[++i], 1, 10000, o.repeat)) return false;
        } else if (arg == "--size" && hasValue) {
            std::string size = argv[++i];
            size_t x = size.find('x');
            if (x == std::string::npos) return false;
            std::string w = size.substr(0, x), h = size.substr(x + 1);
            if (!parseCount(w.c_str(), 1, 16384, o.width) || !parseCount(h.c_str(), 1, 16384, o.height)) return false;
        } else if (!arg.empty() && arg[0] != '-' && o.movie.empty()) {
            o.movie = arg;
        } else {
            return false;
        }
    }
    return !o.movie.empty();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

template <class F>
double timeMs(F&& f) {
    std::clock_t start = std::clock();
    f();
    return double(std::clock() - start) * 1000.0 / CLOCKS_PER_SEC;
}

} // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parseOptions(argc, argv, o)) {
        usage();
        return 2;
    }
    std::vector<uint8_t> bytes;
    if (!tesmar::host::readFile(o.movie, bytes)) {
        std::fprintf(stderr, "render_bench: cannot read %s\n", o.movie.c_str());
        return 1;
    }
    tesmar::host::NativeHost host;
    tesmar::Player player(host);
    if (!player.load(bytes, o.movie)) {
        std::fprintf(stderr, "render_bench: %s: %s\n", o.movie.c_str(), player.error().c_str());
        return 1;
    }
    int frames = o.frames;
    if (frames == 0) frames = std::max<int>(1, tesmar::swf::readHeader(bytes).header.frameCount);
    player.setViewSize(o.width, o.height);
    for (int frame = 0; frame < frames; ++frame) {
        host.deliverFetches(player);
        player.tick();
        host.clockMs += 1000.0 / player.frameRate();
    }

    tesmar::Image image;
    player.render(image);   // sizes the image and warms the caches
    const tesmar::Rgba bg = player.background();
    const uint32_t fillColor = 0xFF000000u | uint32_t(bg.r) << 16 | uint32_t(bg.g) << 8 | bg.b;
    std::vector<double> renderMs, fillMs;
    for (int i = 0; i < o.repeat; ++i) {
        renderMs.push_back(timeMs([&] { player.render(image); }));
        fillMs.push_back(timeMs([&] { std::fill(image.pixels.begin(), image.pixels.end(), fillColor); }));
    }
    double render = median(renderMs), fill = median(fillMs);
    std::printf("%s: frame %d at %dx%d, %d runs\n", o.movie.c_str(), frames, image.width, image.height, o.repeat);
    std::printf("render %.3f ms, fill %.3f ms, ratio %.2f\n", render, fill, fill > 0 ? render / fill : 0.0);
    return 0;
}
