#include "host/CorpusCase.h"
#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace tesmar::host {

namespace {

std::string trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t\r"), b = s.find_last_not_of(" \t\r");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

// Drops a comment that is not inside a string.
std::string stripComment(const std::string& line) {
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') quoted = !quoted;
        if (line[i] == '#' && !quoted) return line.substr(0, i);
    }
    return line;
}

// a."b.c".d -> {a, b.c, d}
std::vector<std::string> keyPath(const std::string& key) {
    std::vector<std::string> parts;
    std::string part;
    bool quoted = false;
    for (char c : key) {
        if (c == '"') { quoted = !quoted; continue; }
        if (c == '.' && !quoted) { parts.push_back(trim(part)); part.clear(); continue; }
        part += c;
    }
    parts.push_back(trim(part));
    return parts;
}

// The number after `name =` inside an inline table, or 0.
int inlineNumber(const std::string& table, const std::string& name) {
    size_t at = table.find(name);
    if (at == std::string::npos) return 0;
    size_t eq = table.find('=', at);
    return eq == std::string::npos ? 0 : std::atoi(table.c_str() + eq + 1);
}

ImageComparison& comparison(CaseSettings& settings, const std::string& name) {
    for (ImageComparison& c : settings.images)
        if (c.name == name) return c;
    settings.images.push_back({name, {}, false});
    return settings.images.back();
}

} // namespace

std::optional<CaseSettings> parseCaseSettings(const std::string& toml, std::string& error) {
    CaseSettings settings;
    std::vector<std::string> section;
    // Plain tolerance/max_outliers of each comparison, used when it lists no checks.
    std::vector<std::pair<std::string, ImageCheck>> plain;
    std::istringstream in(toml);
    std::string raw;
    while (std::getline(in, raw)) {
        const std::string line = trim(stripComment(raw));
        if (line.empty()) continue;
        if (line.rfind("[[", 0) == 0) {
            section = keyPath(line.substr(2, line.find("]]") - 2));
            if (section.size() == 3 && section[0] == "image_comparisons" && section[2] == "checks")
                comparison(settings, section[1]).checks.emplace_back();
            continue;
        }
        if (line[0] == '[') {
            section = keyPath(line.substr(1, line.find(']') - 1));
            if (section.size() == 2 && section[0] == "image_comparisons") comparison(settings, section[1]);
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string::npos) { error = "cannot read line: " + line; return std::nullopt; }
        std::vector<std::string> path = section;
        for (std::string& part : keyPath(line.substr(0, eq))) path.push_back(part);
        std::string value = trim(line.substr(eq + 1));
        // An inline table may run over several lines: read on until its braces close.
        auto unclosed = [](const std::string& v) {
            return std::count(v.begin(), v.end(), '{') > std::count(v.begin(), v.end(), '}');
        };
        while (unclosed(value) && std::getline(in, raw)) value += " " + trim(stripComment(raw));
        const long number = std::atol(value.c_str());

        if (path.size() == 1 && (path[0] == "num_frames" || path[0] == "num_ticks")) settings.frames = int(number);
        else if (path.size() == 1 && path[0] == "ignore") settings.ignore = value == "true";
        else if (path.size() == 1 && path[0] == "known_failure") settings.knownFailure = value == "true";
        else if (path[0] == "approximations") settings.approximateNumbers = true;
        else if (path.size() == 2 && path[0] == "player_options" && path[1] == "with_renderer")
            settings.lowQuality = value.find("quality = \"low\"") != std::string::npos;
        else if (path.size() == 2 && path[0] == "player_options" && path[1] == "viewport_dimensions") {
            settings.viewWidth = inlineNumber(value, "width");
            settings.viewHeight = inlineNumber(value, "height");
            const size_t scale = value.find("scale_factor");
            const size_t eq = value.find('=', scale == std::string::npos ? value.size() : scale);
            if (eq != std::string::npos) settings.scaleFactor = std::clamp(std::atof(value.c_str() + eq + 1), 0.01, 100.0);
        } else if (path.size() >= 3 && path[0] == "image_comparisons") {
            ImageComparison& c = comparison(settings, path[1]);
            const std::string& field = path.back();
            if (field == "trigger") { c.triggered = true; c.trigger = int(number); continue; }
            ImageCheck* check = nullptr;
            if (path.size() == 4 && path[2] == "checks" && !c.checks.empty()) {
                check = &c.checks.back();
            } else {
                auto it = std::find_if(plain.begin(), plain.end(), [&](auto& p) { return p.first == c.name; });
                if (it == plain.end()) { plain.push_back({c.name, {}}); it = plain.end() - 1; }
                check = &it->second;
            }
            if (field == "tolerance") check->tolerance = int(number);
            if (field == "max_outliers") check->maxOutliers = number;
        }
    }
    for (ImageComparison& c : settings.images) {
        if (!c.checks.empty()) continue;
        auto it = std::find_if(plain.begin(), plain.end(), [&](auto& p) { return p.first == c.name; });
        c.checks.push_back(it == plain.end() ? ImageCheck{} : it->second);
    }
    return settings;
}

bool imagesMatch(const Image& actual, const Image& expected, const ImageCheck& check, std::string& why) {
    if (actual.width != expected.width || actual.height != expected.height) {
        why = "size " + std::to_string(actual.width) + "x" + std::to_string(actual.height) + ", expected " +
              std::to_string(expected.width) + "x" + std::to_string(expected.height);
        return false;
    }
    long outliers = 0;
    int worst = 0;
    for (size_t i = 0; i < actual.pixels.size(); ++i) {
        const uint32_t a = actual.pixels[i], e = expected.pixels[i];
        int diff = 0;
        for (int shift = 0; shift < 32; shift += 8)
            diff = std::max(diff, std::abs(int((a >> shift) & 0xFF) - int((e >> shift) & 0xFF)));
        worst = std::max(worst, diff);
        if (diff > check.tolerance) ++outliers;
    }
    if (outliers <= check.maxOutliers) return true;
    why = std::to_string(outliers) + " pixels differ (allowed " + std::to_string(check.maxOutliers) +
          "), largest difference " + std::to_string(worst);
    return false;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

} // namespace tesmar::host
