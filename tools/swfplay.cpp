// swfplay MOVIE [--frames N] [--size WxH] [--png OUT.png] [--input input.json]
// Runs a movie headless, prints its trace lines and writes the last frame.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include "host/ImageCodecs.h"
#include "host/MovieRun.h"

namespace {

int usage() {
    std::cerr << "usage: swfplay MOVIE [--frames N] [--size WxH] [--png OUT.png] [--input input.json]\n";
    return 2;
}

bool parseCount(const char* text, int low, int high, int& out) {
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < low || value > high) return false;
    out = int(value);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    std::string movie, png, input;
    tesmar::host::RunOptions options;
    options.echoTrace = true;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--frames" && hasValue) {
            if (!parseCount(argv[++i], 1, 1000000, options.frames)) return usage();
        } else if (arg == "--size" && hasValue) {
            std::string size = argv[++i];
            size_t x = size.find('x');
            if (x == std::string::npos || !parseCount(size.substr(0, x).c_str(), 1, 16384, options.width) ||
                !parseCount(size.substr(x + 1).c_str(), 1, 16384, options.height))
                return usage();
        } else if (arg == "--png" && hasValue) {
            png = argv[++i];
        } else if (arg == "--input" && hasValue) {
            input = argv[++i];
        } else if (arg.rfind("--", 0) == 0 || !movie.empty()) {
            return usage();
        } else {
            movie = arg;
        }
    }
    if (movie.empty()) return usage();
    if (!input.empty()) {
        std::ifstream in(input);
        std::stringstream text;
        text << in.rdbuf();
        std::string error;
        auto events = in ? tesmar::host::parseInputEvents(text.str(), error) : std::nullopt;
        if (!events) {
            std::cerr << "swfplay: " << input << ": " << (in ? error : "cannot read") << "\n";
            return 1;
        }
        options.events = std::move(*events);
    }
    options.render = !png.empty();
    tesmar::host::RunResult result = tesmar::host::runMovie(movie, options);
    if (!result.loaded) {
        std::cerr << "swfplay: " << movie << ": " << result.error << "\n";
        return 1;
    }
    if (!png.empty() && !tesmar::host::writePngFile(png, result.image)) {
        std::cerr << "swfplay: cannot write " << png << "\n";
        return 1;
    }
    return 0;
}
