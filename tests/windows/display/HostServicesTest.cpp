// What the player control's host does on Windows, in this process: fetches
// answered on the window's thread, images decoded with WIC, device glyphs
// from GDI.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <memory>
#include <string>

#include "display/DeviceFonts.h"
#include "display/MovieFetcher.h"
#include "display/WicImageDecoder.h"

namespace tesmar::test {
namespace {

constexpr UINT kReply = WM_APP + 7;

// A message-only window to receive the fetcher's answers.
class ReplyWindow {
public:
    ReplyWindow() : window_(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {}
    ~ReplyWindow() { DestroyWindow(window_); }
    HWND handle() const { return window_; }

    // The next answer, or nothing within the time.
    std::unique_ptr<FetchResult> next(DWORD timeoutMs)
    {
        const ULONGLONG end = GetTickCount64() + timeoutMs;
        MSG message;
        while (GetTickCount64() < end) {
            if (PeekMessageA(&message, window_, kReply, kReply, PM_REMOVE))
                return TakeFetchResult(message.lParam);
            Sleep(10);
        }
        return nullptr;
    }

private:
    HWND window_;
};

std::string TempFile(const std::string& name, const std::string& content)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

TEST(MovieFetcherTest, LocalFilesArriveWholeAndFailuresSaySo)
{
    ReplyWindow replies;
    MovieFetcher fetcher(replies.handle(), kReply);
    const std::string path = TempFile("tesmar fetch test.swf", "FWS movie bytes");
    fetcher.fetch(1, path);
    auto answer = replies.next(5000);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->request, 1u);
    EXPECT_TRUE(answer->ok);
    EXPECT_EQ(std::string(answer->bytes.begin(), answer->bytes.end()), "FWS movie bytes");

    // A file address with an escaped space names the same file.
    std::string address = "file:///" + path;
    address.replace(address.find(' '), 1, "%20");
    fetcher.fetch(2, address);
    answer = replies.next(5000);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->request, 2u);
    EXPECT_TRUE(answer->ok);

    fetcher.fetch(3, path + ".missing");
    answer = replies.next(5000);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->request, 3u);
    EXPECT_FALSE(answer->ok);
    EXPECT_TRUE(answer->bytes.empty());
}

TEST(MovieFetcherTest, AnUnreachableServerFailsWithoutBlockingTheCaller)
{
    ReplyWindow replies;
    MovieFetcher fetcher(replies.handle(), kReply);
    const ULONGLONG before = GetTickCount64();
    fetcher.fetch(9, "http://127.0.0.1:9/showcase/showcase.swf");
    EXPECT_LT(GetTickCount64() - before, 200u);
    auto answer = replies.next(MovieFetcher::kTimeLimitMs);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->request, 9u);
    EXPECT_FALSE(answer->ok);
}

TEST(MovieFetcherTest, AnswersForAWindowThatIsGoneAreDropped)
{
    auto replies = std::make_unique<ReplyWindow>();
    {
        MovieFetcher fetcher(replies->handle(), kReply);
        fetcher.fetch(1, TempFile("tesmar-dropped.swf", "x"));
        Sleep(300);
    }
    DiscardFetchResults(replies->handle(), kReply);
    EXPECT_FALSE(replies->next(100));
}

// A 2 x 1 PNG: opaque red, then blue at half opacity.
const uint8_t kTwoPixelPng[] = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00,
    0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0xF4, 0x22, 0x7F, 0x8A, 0x00, 0x00, 0x00,
    0x0E, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0xF8, 0xCF, 0xC0, 0x00, 0x42, 0x0D, 0x00, 0x0F, 0x7A, 0x03,
    0x7E, 0x77, 0xE9, 0x7F, 0x97, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

TEST(WicImageDecoderTest, DecodesIntoPremultipliedPixelsAndRefusesBrokenData)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const auto image = DecodeImageWithWic(kTwoPixelPng);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->width, 2);
    ASSERT_EQ(image->height, 1);
    EXPECT_EQ(image->pixels[0], 0xFFFF0000u);
    EXPECT_EQ(image->pixels[1], 0x80000080u);

    EXPECT_FALSE(DecodeImageWithWic(std::span(kTwoPixelPng, 40)));
    const uint8_t noise[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    EXPECT_FALSE(DecodeImageWithWic(noise));
    EXPECT_FALSE(DecodeImageWithWic({}));
}

TEST(DeviceFontsTest, GlyphsComeInAnEmOf1024WithYDownwards)
{
    DeviceFonts fonts;
    const auto letter = fonts.glyph("_sans", false, false, U'H');
    ASSERT_TRUE(letter);
    EXPECT_GT(letter->advance, 400);
    EXPECT_LT(letter->advance, 1024);
    EXPECT_GT(letter->ascent, 700);
    ASSERT_FALSE(letter->outline.paths.empty());
    double top = 0, bottom = -2000;
    for (const ShapePath& path : letter->outline.paths) {
        for (const PathSegment& segment : path.segments) {
            top = std::min(top, segment.to.y);
            bottom = std::max(bottom, segment.to.y);
        }
        EXPECT_EQ(path.segments.back().to.x, path.start.x) << "contours are closed";
        EXPECT_EQ(path.segments.back().to.y, path.start.y);
    }
    EXPECT_LT(top, -600) << "a capital rises above the baseline";
    EXPECT_NEAR(bottom, 0, 2) << "and stands on it";

    // The bold face's stems are wider: its H starts further left or ends
    // further right at the same advance.
    const auto bold = fonts.glyph("_sans", true, false, U'H');
    ASSERT_TRUE(bold);
    ASSERT_FALSE(bold->outline.paths.empty());
    EXPECT_NE(bold->outline.paths[0].start.x, letter->outline.paths[0].start.x);

    const auto space = fonts.glyph("_serif", false, false, U' ');
    ASSERT_TRUE(space);
    EXPECT_GT(space->advance, 0);
    EXPECT_TRUE(space->outline.paths.empty());
    EXPECT_FALSE(fonts.glyph("_typewriter", false, false, U'\U0001F600'));
}

} // namespace
} // namespace tesmar::test
