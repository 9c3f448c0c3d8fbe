#pragma once
// One case of a conformance corpus: its settings (test.toml), and how its
// results are judged against the expected trace and images.
#include <optional>
#include <string>
#include <vector>
#include "player/geom/Image.h"

namespace tesmar::host {

struct ImageCheck {
    int tolerance = 0;        // largest per-channel difference that counts as equal
    long maxOutliers = 0;     // pixels allowed beyond it
};

struct ImageComparison {
    std::string name;         // NAME of NAME.expected.png
    std::vector<ImageCheck> checks;   // all must hold
    bool triggered = false;   // taken at a movie's request, not at the end of the run
    int trigger = 0;          // when triggered: the tick it follows
};

struct CaseSettings {
    int frames = 1;
    bool ignore = false;
    bool knownFailure = false;
    int viewWidth = 0, viewHeight = 0;
    double scaleFactor = 1;   // view pixels per screen pixel
    bool approximateNumbers = false;
    bool lowQuality = false;  // the case was judged with an aliased renderer
    std::vector<ImageComparison> images;
};

// Reads the subset of TOML that corpus cases use.
std::optional<CaseSettings> parseCaseSettings(const std::string& toml, std::string& error);

// Whether actual matches expected under check; why says how it does not.
bool imagesMatch(const Image& actual, const Image& expected, const ImageCheck& check, std::string& why);

// Splits text into lines, dropping carriage returns and a final empty line.
std::vector<std::string> splitLines(const std::string& text);

} // namespace tesmar::host
