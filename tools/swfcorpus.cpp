// swfcorpus DIR [--only PREFIX] [--list FILE]
// Runs the cases of a conformance corpus (folders with test.swf and
// test.toml) and prints one line per case, a count per top folder and a
// last line "N passed, M failed".
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include "host/CorpusCase.h"
#include "host/ImageCodecs.h"
#include "host/MovieRun.h"

namespace fs = std::filesystem;
using namespace tesmar::host;

namespace {

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Empty when the case passes, else the first reason it does not.
std::string runCase(const fs::path& dir) {
    std::string error;
    auto settings = parseCaseSettings(readText(dir / "test.toml"), error);
    if (!settings) return "test.toml: " + error;
    if (settings->ignore) return "marked ignore";
    RunOptions options;
    options.frames = std::clamp(settings->frames, 1, 100000);
    options.width = settings->viewWidth;
    options.height = settings->viewHeight;
    // The screen holds the view at the case's scale factor.
    if (settings->viewWidth > 0 && settings->viewHeight > 0) {
        options.screenWidth = int(settings->viewWidth / settings->scaleFactor);
        options.screenHeight = int(settings->viewHeight / settings->scaleFactor);
    }
    options.render = !settings->images.empty();
    for (const ImageComparison& image : settings->images)
        if (image.triggered) options.captureTicks.push_back(image.trigger);
    options.highQuality = !settings->lowQuality;
    options.logRequests = readText(dir / "test.toml").find("log_fetch = true") != std::string::npos;
    if (fs::exists(dir / "input.json")) {
        auto events = parseInputEvents(readText(dir / "input.json"), error);
        if (!events) return "input.json: " + error;
        options.events = std::move(*events);
    }
    RunResult result = runMovie((dir / "test.swf").string(), options);
    if (!result.loaded) return "not loaded: " + result.error;

    const std::vector<std::string> expected = splitLines(readText(dir / "output.txt"));
    for (size_t i = 0; i < std::max(expected.size(), result.traces.size()); ++i) {
        const std::string* want = i < expected.size() ? &expected[i] : nullptr;
        const std::string* got = i < result.traces.size() ? &result.traces[i] : nullptr;
        if (want && got && *want == *got) continue;
        return "trace line " + std::to_string(i + 1) + ": expected " + (want ? "\"" + *want + "\"" : "nothing") +
               ", got " + (got ? "\"" + *got + "\"" : "nothing");
    }
    for (const ImageComparison& image : settings->images) {
        // A triggered image is the stage as it stood after that tick.
        const tesmar::Image* got = &result.image;
        if (image.triggered) {
            auto it = result.captures.find(image.trigger);
            if (it == result.captures.end()) return "image " + image.name + ": the run ends before its tick";
            got = &it->second;
        }
        auto want = readPngFile((dir / (image.name + ".expected.png")).string());
        if (!want) return "cannot read " + image.name + ".expected.png";
        for (const ImageCheck& check : image.checks) {
            std::string why;
            if (!imagesMatch(*got, *want, check, why)) return "image " + image.name + ": " + why;
        }
    }
    return {};
}

std::set<std::string> readList(const std::string& path) {
    std::set<std::string> names;
    for (const std::string& line : splitLines(readText(path))) {
        std::string name = line.substr(0, line.find('#'));
        name.erase(name.find_last_not_of(" \t") + 1);
        if (!name.empty()) names.insert(name);
    }
    return names;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: swfcorpus DIR [--only PREFIX] [--list FILE]\n";
        return 2;
    }
    const fs::path root = argv[1];
    std::string only;
    std::optional<std::set<std::string>> list;
    for (int i = 2; i + 1 < argc; i += 2) {
        std::string arg = argv[i];
        if (arg == "--only") only = argv[i + 1];
        else if (arg == "--list") list = readList(argv[i + 1]);
        else { std::cerr << "swfcorpus: unknown option " << arg << "\n"; return 2; }
    }
    if (argc % 2 != 0) { std::cerr << "swfcorpus: option without a value\n"; return 2; }
    std::error_code ec;
    if (!fs::is_directory(root, ec)) { std::cerr << "swfcorpus: not a folder: " << root << "\n"; return 2; }

    std::vector<std::string> cases;
    for (auto it = fs::recursive_directory_iterator(root, ec); it != fs::recursive_directory_iterator(); ++it) {
        if (it->path().filename() != "test.toml" || !fs::exists(it->path().parent_path() / "test.swf")) continue;
        std::string name = fs::relative(it->path().parent_path(), root).generic_string();
        if (!only.empty() && name.rfind(only, 0) != 0) continue;
        if (list && !list->count(name)) continue;
        cases.push_back(name);
    }
    std::sort(cases.begin(), cases.end());
    if (list) {
        for (const std::string& name : *list)
            if (!std::binary_search(cases.begin(), cases.end(), name)) std::cout << "FAIL " << name << ": no such case\n";
    }

    std::map<std::string, std::pair<int, int>> perFolder;
    int passed = 0, failed = list ? int(list->size() - cases.size()) : 0;
    for (const std::string& name : cases) {
        const std::string reason = runCase(root / name);
        auto& counts = perFolder[name.substr(0, name.find('/'))];
        if (reason.empty()) {
            ++passed;
            ++counts.first;
            std::cout << "PASS " << name << "\n";
        } else {
            ++failed;
            ++counts.second;
            std::cout << "FAIL " << name << ": " << reason << "\n";
        }
    }
    for (const auto& [folder, counts] : perFolder)
        std::cout << folder << ": " << counts.first << " passed, " << counts.second << " failed\n";
    std::cout << passed << " passed, " << failed << " failed\n";
    return failed == 0 ? 0 : 1;
}
