// Draws the program's icon, a red slanted letter F with speed lines, and
// writes it as a Windows icon file with two images, 16x16 and 32x32, in 256
// colours with a transparency mask. Run once by hand; its output is committed:
//   g++ -std=c++20 -O2 resources/icon/DrawIcon.cpp -o /tmp/draw-icon &&
//   /tmp/draw-icon resources/icon/TesmarFlash.ico
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <tuple>
#include <cstdlib>
#include <vector>

namespace {

// Shapes on a 32-unit canvas, y downwards; the letter is sheared to lean right.
struct Box {
    double left, top, right, bottom;
};
constexpr std::array<Box, 3> LetterParts = {{
    {9, 4, 15, 28},   // stem
    {9, 4, 26, 10},   // top arm
    {9, 14, 22, 19},  // middle arm
}};
// Speed lines trailing to the left of the letter.
constexpr std::array<Box, 3> SpeedLines = {{
    {2, 6, 13, 8.5},
    {5, 15, 11, 17.5},
    {1, 23, 8.5, 25.5},
}};
constexpr double Shear = 0.3;  // x moves right by this much per unit upwards
constexpr double Baseline = 28;

bool Inside(const Box& box, double x, double y, bool sheared)
{
    if (sheared)
        x -= (Baseline - y) * Shear;
    return x >= box.left && x < box.right && y >= box.top && y < box.bottom;
}

struct Rgb {
    uint8_t r, g, b;
    bool operator<(const Rgb& o) const { return std::tie(r, g, b) < std::tie(o.r, o.g, o.b); }
};

enum class Part { Clear, Letter, Speed };

// One image: the part each pixel belongs to, decided by 4x4 samples.
std::vector<Part> Rasterise(int size)
{
    std::vector<Part> parts(size * size, Part::Clear);
    const double unit = 32.0 / size;
    constexpr int Samples = 4;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            int letter = 0, speed = 0;
            for (int sy = 0; sy < Samples; ++sy)
                for (int sx = 0; sx < Samples; ++sx) {
                    double ux = (x + (sx + 0.5) / Samples) * unit;
                    double uy = (y + (sy + 0.5) / Samples) * unit;
                    bool inLetter = std::any_of(LetterParts.begin(), LetterParts.end(),
                                                [&](const Box& b) { return Inside(b, ux, uy, true); });
                    bool inSpeed = std::any_of(SpeedLines.begin(), SpeedLines.end(),
                                               [&](const Box& b) { return Inside(b, ux, uy, false); });
                    letter += inLetter;
                    speed += !inLetter && inSpeed;
                }
            constexpr int Half = Samples * Samples / 2;
            if (letter >= Half)
                parts[y * size + x] = Part::Letter;
            else if (letter + speed >= Half)
                parts[y * size + x] = Part::Speed;
        }
    return parts;
}

// Colours: the letter shades from bright red at the top to deep red at the
// bottom with a dark rim; speed lines fade from orange-red to pale at the tail.
std::vector<Rgb> Colour(const std::vector<Part>& parts, int size)
{
    auto at = [&](int x, int y) {
        return x < 0 || y < 0 || x >= size || y >= size ? Part::Clear : parts[y * size + x];
    };
    std::vector<Rgb> pixels(size * size, Rgb{0, 0, 0});
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double down = double(y) / (size - 1);
            double along = std::min(1.0, (x + 0.5) * 32.0 / size / 12.0);  // tail to letter
            switch (at(x, y)) {
            case Part::Clear:
                break;
            case Part::Letter: {
                // At 16 pixels a rim would leave little red inside it.
                bool rim = size >= 32 && (at(x - 1, y) != Part::Letter || at(x + 1, y) != Part::Letter ||
                           at(x, y - 1) != Part::Letter || at(x, y + 1) != Part::Letter);
                pixels[y * size + x] = rim ? Rgb{110, 0, 0}
                                           : Rgb{uint8_t(250 - 80 * down), uint8_t(40 - 30 * down), 20};
                break;
            }
            case Part::Speed:
                pixels[y * size + x] = Rgb{uint8_t(255 - 25 * along), uint8_t(210 - 170 * along),
                                           uint8_t(190 - 160 * along)};
                break;
            }
        }
    return pixels;
}

void Put16(std::vector<uint8_t>& out, unsigned v) { out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8)}); }
void Put32(std::vector<uint8_t>& out, unsigned v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// One icon image: header, 256-entry palette, colour rows and mask rows, both bottom-up.
std::vector<uint8_t> IconImage(int size)
{
    std::vector<Part> parts = Rasterise(size);
    std::vector<Rgb> pixels = Colour(parts, size);
    std::map<Rgb, uint8_t> palette{{Rgb{0, 0, 0}, 0}};
    for (const Rgb& c : pixels)
        if (!palette.count(c))
            palette.emplace(c, uint8_t(palette.size()));
    if (palette.size() > 256) {
        std::fprintf(stderr, "too many colours\n");
        std::exit(1);
    }
    std::array<Rgb, 256> entries{};
    for (const auto& [colour, index] : palette)
        entries[index] = colour;

    const int colourRow = (size + 3) / 4 * 4;
    const int maskRow = (size + 31) / 32 * 4;
    std::vector<uint8_t> out;
    Put32(out, 40);
    Put32(out, size);
    Put32(out, size * 2);  // colour and mask rows together
    Put16(out, 1);
    Put16(out, 8);
    Put32(out, 0);
    Put32(out, (colourRow + maskRow) * size);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    for (const Rgb& c : entries)
        out.insert(out.end(), {c.b, c.g, c.r, 0});
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < colourRow; ++x)
            out.push_back(x < size ? palette[pixels[y * size + x]] : 0);
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskRow, 0);
        for (int x = 0; x < size; ++x)
            if (parts[y * size + x] == Part::Clear)
                row[x / 8] |= uint8_t(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.ico\n", argv[0]);
        return 2;
    }
    const std::array<int, 2> sizes = {16, 32};
    std::vector<std::vector<uint8_t>> images;
    for (int size : sizes)
        images.push_back(IconImage(size));

    std::vector<uint8_t> file;
    Put16(file, 0);
    Put16(file, 1);  // an icon
    Put16(file, unsigned(images.size()));
    unsigned offset = 6 + 16 * unsigned(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        file.insert(file.end(), {uint8_t(sizes[i]), uint8_t(sizes[i]), 0, 0});  // 0 colours: 256
        Put16(file, 1);
        Put16(file, 8);
        Put32(file, unsigned(images[i].size()));
        Put32(file, offset);
        offset += unsigned(images[i].size());
    }
    for (const auto& image : images)
        file.insert(file.end(), image.begin(), image.end());
    std::ofstream(argv[1], std::ios::binary).write(reinterpret_cast<const char*>(file.data()), file.size());
    return 0;
}
