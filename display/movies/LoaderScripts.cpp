#include "LoaderScripts.h"
#include "player/swf/WriterActions.h"

namespace tesmar::movies {

using swf::ActionWriter;
namespace action = swf::action;

namespace {

const std::string kLevel2 = "_level2";
const std::string kQuit = "FSCommand:quit";

} // namespace

swf::Bytes firstFrameScript(const LoaderKind& kind) {
    const std::string content = kHomepage + kind.contentPath;
    ActionWriter a;
    a.constantPool({"homepage", kHomepage, kind.contentVariable, content, kLevel2});
    a.push({"homepage", kHomepage});
    a.op(action::SetVariable);
    a.push({kind.contentVariable, content});
    a.op(action::SetVariable);
    // loadMovieNum(content, 2): the address from the variable, no variables sent.
    a.push({kind.contentVariable});
    a.op(action::GetVariable);
    a.push({kLevel2});
    a.getUrl2();
    a.op(action::Stop);
    return a.finish();
}

swf::Bytes watcherScript() {
    ActionWriter a;
    a.constantPool({kLevel2, "_framesloaded", "_root", "play", "_visible"});
    // if (0 < _level2._framesloaded): a missing level gives undefined, and
    // the comparison with it is not true.
    auto skip = a.label();
    a.push({int32_t(0), kLevel2});
    a.op(action::GetVariable);
    a.push({"_framesloaded"});
    a.op(action::GetMember);
    a.op(action::Less2);
    a.op(action::Not);
    a.ifTrue(skip);
    // _root.play();
    a.push({int32_t(0), "_root"});
    a.op(action::GetVariable);
    a.push({"play"});
    a.op(action::CallMethod);
    a.op(action::Pop);
    // _level2._visible = false;
    a.push({kLevel2});
    a.op(action::GetVariable);
    a.push({"_visible", false});
    a.op(action::SetMember);
    a.bind(skip);
    return a.finish();
}

swf::Bytes revealScript(const LoaderKind& kind) {
    ActionWriter a;
    if (kind.restartContent)
        a.constantPool({kLevel2, "_visible", "gotoAndPlay"});
    else
        a.constantPool({kLevel2, "_visible"});
    a.op(action::Stop);
    a.push({kLevel2});
    a.op(action::GetVariable);
    a.push({"_visible", true});
    a.op(action::SetMember);
    if (kind.restartContent) {
        // _level2.gotoAndPlay(1);
        a.push({int32_t(1), int32_t(1), kLevel2});
        a.op(action::GetVariable);
        a.push({"gotoAndPlay"});
        a.op(action::CallMethod);
        a.op(action::Pop);
    }
    return a.finish();
}

swf::Bytes logoReleaseScript(const LoaderKind& kind) {
    ActionWriter a;
    // getURL(homepage, ""): opens the page in the browser.
    if (kind.homepageOwner.empty()) {
        a.push({"homepage"});
        a.op(action::GetVariable);
    } else {
        a.push({kind.homepageOwner});
        a.op(action::GetVariable);
        a.push({"homepage"});
        a.op(action::GetMember);
    }
    a.push({""});
    a.getUrl2();
    a.getUrl(kQuit, "");
    return a.finish();
}

swf::Bytes exitReleaseScript() {
    ActionWriter a;
    a.getUrl(kQuit, "");
    return a.finish();
}

} // namespace tesmar::movies
