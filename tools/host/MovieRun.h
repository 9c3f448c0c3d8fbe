#pragma once
// Runs a movie file headless for a number of frames with scripted input:
// what swfplay and swfcorpus share.
#include <map>
#include <string>
#include <vector>
#include "host/InputEvents.h"
#include "player/geom/Image.h"

namespace tesmar::host {

struct RunOptions {
    int frames = 1;
    int width = 0, height = 0;       // view size; 0 = the stage size
    int screenWidth = 0, screenHeight = 0;   // the screen's size; 0 = the host's default
    std::vector<InputEvent> events;  // consumed up to one Wait per frame
    bool echoTrace = false;
    bool render = true;
    bool highQuality = true;         // false: edges without anti-aliasing
    bool logRequests = false;        // trace the movie's fetches and page requests
    std::vector<int> captureTicks;   // also render after these ticks (1 = the first frame)
};

struct RunResult {
    bool loaded = false;
    std::string error;
    std::vector<std::string> traces;
    Image image;                     // the last frame, when rendered
    std::map<int, Image> captures;   // by tick, as captureTicks asked
};

RunResult runMovie(const std::string& path, const RunOptions& options);

} // namespace tesmar::host
