// Loads that scripts start, played by a player whose host answers fetches
// only when the test says so.
#include <gtest/gtest.h>
#include "player/Player.h"
#include "player/bridge/LoadQueue.h"
#include "player/bridge/ScriptBridge.h"
#include "player/script/VM.h"
#include "player/swf/WriterActions.h"
#include "player/swf/WriterTags.h"

using namespace tesmar;
using swf::ActionWriter;
namespace action = swf::action;

namespace {

struct RecordingHost : Host {
    std::vector<std::pair<uint32_t, FetchRequest>> fetches;
    std::vector<PageRequest> pages;
    std::vector<std::string> opened, traces;

    void fetch(uint32_t request, const std::string& url) override {
        FetchRequest get;
        get.url = url;
        send(request, get);
    }
    void send(uint32_t request, const FetchRequest& fetchRequest) override { fetches.emplace_back(request, fetchRequest); }
    void pageRequested(const PageRequest& page) override { pages.push_back(page); }
    void openInBrowser(const std::string& url) override { opened.push_back(url); }
    void fsCommand(const std::string&, const std::string&) override {}
    void trace(const std::string& line) override { traces.push_back(line); }
    double nowMs() override { return 0; }
    std::optional<Image> decodeImage(std::span<const uint8_t>) override { return std::nullopt; }
};

std::vector<uint8_t> movieOf(const std::vector<swf::Bytes>& frames, uint8_t version = 6) {
    swf::TagWriter tags(version);
    for (const swf::Bytes& actions : frames) {
        if (!actions.empty()) tags.doAction(actions);
        tags.showFrame();
    }
    tags.end();
    return swf::movieFile(version, Rect{0, 0, 8000, 6000}, 12, tags);
}

// this.createEmptyMovieClip(name, depth)
void createClip(ActionWriter& a, const std::string& name, int depth) {
    a.push({int32_t(depth), name, int32_t(2), "this"});
    a.op(action::GetVariable);
    a.push({"createEmptyMovieClip"});
    a.op(action::CallMethod);
    a.op(action::Pop);
}

// trace(path.member)
void traceMember(ActionWriter& a, const std::string& path, const std::string& member) {
    a.push({path});
    a.op(action::GetVariable);
    a.push({member});
    a.op(action::GetMember);
    a.op(action::Trace);
}

// path.member = value
void setMember(ActionWriter& a, const std::string& path, const std::string& member, ActionWriter::Value value) {
    a.push({path});
    a.op(action::GetVariable);
    a.push({member, value});
    a.op(action::SetMember);
}

// GetURL2 into a target: method 0 none, 1 GET, 2 POST; sprite: the target
// is a clip or level to load into; variables: the address is a variables file.
void getUrl2(ActionWriter& a, const std::string& url, const std::string& target, uint8_t method, bool sprite,
             bool variables) {
    a.push({url, target});
    a.getUrl2(method, sprite, variables);
}

struct Session {
    RecordingHost host;
    Player player{host};

    explicit Session(const std::vector<uint8_t>& main) { EXPECT_TRUE(player.load(main, "dir/main.swf")); }
    void answer(size_t index, const std::vector<uint8_t>& bytes, bool ok = true) {
        ASSERT_LT(index, host.fetches.size());
        player.fetchDone(host.fetches[index].first, ok, bytes);
    }
    void answer(size_t index, const std::string& text) { answer(index, std::vector<uint8_t>(text.begin(), text.end())); }
};

std::vector<uint8_t> childTracingItsPlace() {
    ActionWriter child;
    child.push({"child"});
    child.op(action::Trace);
    traceMember(child, "this", "_name");
    traceMember(child, "this", "_x");
    traceMember(child, "this", "old");
    return movieOf({child.finish()});
}

} // namespace

TEST(LoadQueue, AMovieLoadedIntoAClipKeepsItsPlaceButNotItsVariables) {
    ActionWriter first;
    createClip(first, "box", 5);
    setMember(first, "box", "_x", int32_t(40));
    setMember(first, "box", "old", "kept?");
    getUrl2(first, "child.swf", "box", 0, true, false);
    ActionWriter second;
    traceMember(second, "box", "_name");
    Session run(movieOf({first.finish(), second.finish(), {}}));
    run.player.tick();
    ASSERT_EQ(run.host.fetches.size(), 1u);
    EXPECT_EQ(run.host.fetches[0].second.url, "dir/child.swf");
    EXPECT_FALSE(run.host.fetches[0].second.post);
    run.answer(0, childTracingItsPlace());
    EXPECT_TRUE(run.host.traces.empty());   // nothing happens before the next tick
    run.player.tick();
    EXPECT_EQ(run.host.traces, (std::vector<std::string>{"child", "box", "40", "undefined", "box"}));
    // The loaded movie plays on from its own first frame: one trace only.
    run.player.tick();
    EXPECT_EQ(run.host.traces.size(), 5u);
}

TEST(LoadQueue, UnloadingBeforeTheMovieArrivesCancelsIt) {
    ActionWriter a;
    createClip(a, "box", 1);
    getUrl2(a, "child.swf", "box", 0, true, false);
    getUrl2(a, "", "box", 0, true, false);
    Session run(movieOf({a.finish()}));
    run.player.tick();
    ASSERT_EQ(run.host.fetches.size(), 1u);
    run.answer(0, childTracingItsPlace());
    run.player.tick();
    run.player.tick();
    EXPECT_TRUE(run.host.traces.empty());
    ASSERT_TRUE(run.player.stage().level(0));
    EXPECT_TRUE(run.player.stage().level(0)->children().size() == 1u);
}

TEST(LoadQueue, DataThatIsNoMovieLeavesAnEmptyClip) {
    ActionWriter a;
    createClip(a, "box", 1);
    getUrl2(a, "junk.swf", "box", 0, true, false);
    Session run(movieOf({a.finish()}));
    run.player.tick();
    run.answer(0, std::string("FWS\x09") + "garbage that claims to be a movie");
    run.player.tick();
    stage::MovieClip* root = run.player.stage().level(0);
    ASSERT_TRUE(root && root->childNamed("box"));
    auto* box = dynamic_cast<stage::MovieClip*>(root->childNamed("box"));
    ASSERT_TRUE(box);
    EXPECT_TRUE(box->children().empty());
}

TEST(LoadQueue, VariablesArePostedFromTheCallerAndLoadedIntoTheTarget) {
    ActionWriter a;
    createClip(a, "box", 1);
    a.push({"greeting", "hello world"});
    a.op(action::SetVariable);
    getUrl2(a, "vars.txt", "box", 2, false, true);
    ActionWriter later;
    traceMember(later, "box", "a");
    traceMember(later, "box", "b");
    Session run(movieOf({a.finish(), later.finish(), {}}));
    run.player.tick();
    ASSERT_EQ(run.host.fetches.size(), 1u);
    const FetchRequest& sent = run.host.fetches[0].second;
    EXPECT_TRUE(sent.post);
    EXPECT_EQ(sent.contentType, "application/x-www-form-urlencoded");
    EXPECT_EQ(std::string(sent.body.begin(), sent.body.end()), "greeting=hello+world&%24version=LNX+32%2C0%2C0%2C0");
    run.answer(0, "\xEF\xBB\xBF" "a=1&b=two%20words");
    run.player.tick();
    EXPECT_EQ(run.host.traces, (std::vector<std::string>{"1", "two words"}));
}

TEST(LoadQueue, GetVariablesTravelInTheAddress) {
    ActionWriter a;
    a.push({"q", "a&b"});
    a.op(action::SetVariable);
    getUrl2(a, "vars.txt?x=1", "_level0", 1, false, true);
    Session run(movieOf({a.finish()}));
    run.player.tick();
    ASSERT_EQ(run.host.fetches.size(), 1u);
    // Spaces travel as plus signs; the player's $version goes along.
    EXPECT_EQ(run.host.fetches[0].second.url, "dir/vars.txt?x=1&q=a%26b&%24version=LNX+32%2C0%2C0%2C0");
    EXPECT_FALSE(run.host.fetches[0].second.post);
}

namespace {

std::vector<std::string> loaderEvents;

script::Value recordEvent(script::CallContext& c) {
    std::string line = c.vm.toString(c.arg(0));
    for (size_t i = 1; i < c.count(); ++i) line += " " + c.vm.toString(c.arg(i));
    loaderEvents.push_back(line);
    return script::Value();
}

} // namespace

TEST(LoadQueue, AMovieClipLoaderHearsOfAFailureAtOnceAndOfSuccessInOrder) {
    ActionWriter a;
    createClip(a, "box", 1);
    Session run(movieOf({a.finish(), {}}));
    run.player.tick();
    script::VM& vm = *run.player.scripts()->vm();
    const script::Value loader = vm.construct(vm.get(vm.global(), "MovieClipLoader"), {});
    ASSERT_TRUE(loader.isObject());
    // Every event goes to the loader itself, its first listener.
    vm.defineNative(loader.object(), "broadcastMessage", recordEvent);
    loaderEvents.clear();
    EXPECT_TRUE(vm.toBoolean(vm.callMethod(loader, "loadClip", {script::Value("missing.swf"), script::Value("box")})));
    EXPECT_FALSE(vm.toBoolean(vm.callMethod(loader, "loadClip", {script::Value("a.swf"), script::Value("nothing")})));
    ASSERT_EQ(run.host.fetches.size(), 1u);
    run.answer(0, {}, false);
    EXPECT_EQ(loaderEvents, (std::vector<std::string>{"onLoadError _level0.box URLNotFound"}));

    loaderEvents.clear();
    EXPECT_TRUE(vm.toBoolean(vm.callMethod(loader, "loadClip", {script::Value("child.swf"), script::Value(3)})));
    run.answer(1, childTracingItsPlace());
    run.player.tick();
    ASSERT_EQ(loaderEvents.size(), 4u);
    EXPECT_EQ(loaderEvents[0], "onLoadStart _level3");
    EXPECT_EQ(loaderEvents[1].rfind("onLoadProgress _level3 ", 0), 0u);
    EXPECT_EQ(loaderEvents[2], "onLoadComplete _level3 0");
    EXPECT_EQ(loaderEvents[3], "onLoadInit _level3");
    EXPECT_EQ(run.host.traces.front(), "child");

    // Unloaded before it arrives: the loader hears that it started, nothing more.
    loaderEvents.clear();
    vm.callMethod(loader, "loadClip", {script::Value("child.swf"), script::Value("box")});
    EXPECT_TRUE(vm.toBoolean(vm.callMethod(loader, "unloadClip", {script::Value("box")})));
    run.answer(2, childTracingItsPlace());
    run.player.tick();
    run.player.tick();
    EXPECT_EQ(loaderEvents, (std::vector<std::string>{"onLoadStart "}));
}

TEST(LoadQueue, PagesAreReportedAndOnlySafeAddressesOpen) {
    ActionWriter a;
    a.push({"v", "1"});
    a.op(action::SetVariable);
    getUrl2(a, "http://example.com/a", "BLANK", 2, false, false);
    getUrl2(a, "javascript:alert(1)", "_self", 0, false, false);
    Session run(movieOf({a.finish()}));
    run.player.tick();
    ASSERT_EQ(run.host.pages.size(), 2u);
    EXPECT_EQ(run.host.pages[0].target, "_blank");
    EXPECT_EQ(run.host.pages[0].method, "POST");
    ASSERT_FALSE(run.host.pages[0].variables.empty());
    EXPECT_EQ(run.host.pages[0].variables[0], (std::pair<std::string, std::string>{"v", "1"}));
    EXPECT_EQ(run.host.pages[1].method, "");
    EXPECT_EQ(run.host.opened, (std::vector<std::string>{"http://example.com/a"}));
}

TEST(LoadQueue, AbsurdTargetsAndAnswersChangeNothing) {
    Session run(movieOf({{}}));
    bridge::LoadQueue& loads = run.player.loads();
    EXPECT_FALSE(loads.targetOf(script::Value(-1.0), nullptr));
    EXPECT_FALSE(loads.targetOf(script::Value(1e300), nullptr));
    EXPECT_FALSE(loads.targetOf(script::Value("no.such.clip"), nullptr));
    EXPECT_FALSE(loads.targetOf(script::Value("_level99999999999"), nullptr));
    run.player.fetchDone(12345, true, {});
    run.player.tick();
    EXPECT_TRUE(run.host.traces.empty());
}
