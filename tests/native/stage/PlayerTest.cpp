#include <gtest/gtest.h>
#include "player/Player.h"
#include "tests/native/stage/TestMovies.h"

using namespace tesmar;
using namespace tesmar::test;

namespace {

struct FakeHost : Host {
    std::vector<std::pair<uint32_t, std::string>> fetches;
    std::vector<std::string> opened, commands;
    void fetch(uint32_t request, const std::string& url) override { fetches.emplace_back(request, url); }
    void openInBrowser(const std::string& url) override { opened.push_back(url); }
    void fsCommand(const std::string& command, const std::string& args) override {
        commands.push_back(command + "|" + args);
    }
    void trace(const std::string&) override {}
    double nowMs() override { return 0; }
    std::optional<Image> decodeImage(std::span<const uint8_t>) override { return std::nullopt; }
};

} // namespace

TEST(Player, LoadsAndReportsTheMovie) {
    FakeHost host;
    Player player(host);
    auto file = movie({showFrame()});
    ASSERT_TRUE(player.load(file, "http://example.com/movies/a.swf"));
    EXPECT_EQ(player.stageWidth(), 550);
    EXPECT_EQ(player.stageHeight(), 400);
    EXPECT_DOUBLE_EQ(player.frameRate(), 12);
    const uint8_t junk[] = {1, 2, 3};
    EXPECT_FALSE(player.load(junk, "junk"));
    EXPECT_FALSE(player.error().empty());
}

TEST(Player, GetUrlRoutesCommandsLevelsAndBrowserAddresses) {
    FakeHost host;
    Player player(host);
    auto file = movie({showFrame()});
    ASSERT_TRUE(player.load(file, "http://example.com/movies/a.swf"));
    player.getUrl("FSCommand:quit", "");
    player.getUrl("fscommand:fullscreen", "true");
    EXPECT_EQ(host.commands, (std::vector<std::string>{"quit|", "fullscreen|true"}));

    player.getUrl("http://example.com/", "");
    player.getUrl("mailto:someone@example.com", "_blank");
    player.getUrl("javascript:alert(1)", "");
    player.getUrl("file:///etc/passwd", "");
    player.getUrl("C:\\Windows\\notepad.exe", "");
    player.getUrl("help.html", "");
    EXPECT_EQ(host.opened, (std::vector<std::string>{"http://example.com/", "mailto:someone@example.com",
                                                     "http://example.com/movies/help.html"}));

    player.getUrl("/showcase/showcase.swf", "_level2");
    ASSERT_EQ(host.fetches.size(), 1u);
    EXPECT_EQ(host.fetches[0].second, "http://example.com/showcase/showcase.swf");
    player.fetchDone(host.fetches[0].first, true, file);
    EXPECT_FALSE(player.stage().level(2));   // enters at the next tick
    player.tick();
    ASSERT_TRUE(player.stage().level(2));
    EXPECT_EQ(player.stage().level(2)->framesLoaded(), 1);
    player.getUrl("", "_level2");
    player.tick();
    EXPECT_FALSE(player.stage().level(2));
}

TEST(Player, FailedOrUnknownFetchesChangeNothing) {
    FakeHost host;
    Player player(host);
    auto file = movie({showFrame()});
    ASSERT_TRUE(player.load(file, "a.swf"));
    player.loadMovie(1, "b.swf");
    ASSERT_EQ(host.fetches.size(), 1u);
    EXPECT_EQ(host.fetches[0].second, "b.swf");
    player.fetchDone(host.fetches[0].first, false, {});
    player.fetchDone(999, true, file);
    player.tick();
    EXPECT_FALSE(player.stage().level(1));
}

TEST(Player, RenderSizesTheImageToTheView) {
    FakeHost host;
    Player player(host);
    auto file = movie({showFrame()});
    ASSERT_TRUE(player.load(file, "a.swf"));
    player.setViewSize(64, 48);
    player.tick();
    Image image;
    player.render(image);
    EXPECT_EQ(image.width, 64);
    EXPECT_EQ(image.height, 48);
    EXPECT_FALSE(player.needsRedraw());
}

TEST(ResolveUrl, RelativeAbsoluteAndWindowsPaths) {
    EXPECT_EQ(resolveUrl("http://h.com/a/b.swf", "c.swf"), "http://h.com/a/c.swf");
    EXPECT_EQ(resolveUrl("http://h.com/a/b.swf", "/x/y.swf"), "http://h.com/x/y.swf");
    EXPECT_EQ(resolveUrl("http://h.com/a/b.swf", "https://o.org/z"), "https://o.org/z");
    EXPECT_EQ(resolveUrl("C:\\movies\\b.swf", "c.swf"), "C:\\movies\\c.swf");
    EXPECT_EQ(resolveUrl("C:\\movies\\b.swf", "D:\\x.swf"), "D:\\x.swf");
    EXPECT_TRUE(browserMayOpen("HTTPS://h.com"));
    EXPECT_FALSE(browserMayOpen("javascript:x"));
    EXPECT_FALSE(browserMayOpen("c:\\x"));
}
