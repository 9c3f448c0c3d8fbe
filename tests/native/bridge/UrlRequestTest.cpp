// Get-URL requests made by scripts: FSCommand to the host, the browser
// only for http:, https: and mailto:, "_levelN" loads through the host's
// fetch, and the new level's _framesloaded stays unknown until it arrives.
#include <gtest/gtest.h>
#include "RecordingHost.h"

using namespace tesmar;
using namespace tesmar::test;

namespace {

std::vector<uint8_t> oneFrameMovie(const swf::Bytes& script) {
    swf::TagWriter tags(6);
    tags.doAction(script);
    tags.showFrame();
    tags.end();
    return movieOf(tags);
}

} // namespace

TEST(UrlRequest, CommandsAndBrowserAddressesAreRouted) {
    swf::ActionWriter a;
    a.getUrl("FSCommand:quit", "");
    a.getUrl("http://example.com/home", "");
    a.getUrl("javascript:alert(1)", "");
    a.getUrl("file:///etc/passwd", "_blank");
    a.getUrl("mailto:someone@example.com", "_blank");
    ScriptedPlayer run(oneFrameMovie(a.finish()));
    run.tick();
    EXPECT_EQ(run.host.commands, (std::vector<std::string>{"quit|"}));
    EXPECT_EQ(run.host.opened, (std::vector<std::string>{"http://example.com/home", "mailto:someone@example.com"}));
}

TEST(UrlRequest, LevelLoadsThroughFetchAndCountsFramesOnlyOnceArrived) {
    // getURL("content.swf", "_level2"), then each frame: trace(_level2._framesloaded)
    swf::ActionWriter load;
    load.push({"content.swf", "_level2"});
    load.getUrl2();
    swf::TagWriter tags(6);
    tags.doAction(load.finish());
    auto watch = [] {
        swf::ActionWriter a;
        a.push({"_level2"});
        a.op(swf::action::GetVariable);
        a.push({"_framesloaded"});
        a.op(swf::action::GetMember);
        a.op(swf::action::Trace);
        return a.finish();
    };
    tags.doAction(watch());
    tags.showFrame();
    tags.doAction(watch());
    tags.showFrame();
    tags.end();
    ScriptedPlayer run(movieOf(tags), "http://example.com/movies/loader.swf");
    run.tick();
    ASSERT_EQ(run.host.fetches.size(), 1u);
    EXPECT_EQ(run.host.fetches[0].second, "http://example.com/movies/content.swf");
    EXPECT_EQ(run.traces(), (std::vector<std::string>{"undefined"}));

    swf::TagWriter content(6);
    content.showFrame();
    content.showFrame();
    content.showFrame();
    content.end();
    const auto bytes = movieOf(content);
    run.player.fetchDone(run.host.fetches[0].first, true, bytes);
    run.tick();
    EXPECT_EQ(run.traces(), (std::vector<std::string>{"3"}));
}
