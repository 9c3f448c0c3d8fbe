#pragma once
// The one class a host uses: loads a movie, runs it frame by frame, takes
// pointer and key input in view pixels and draws into an image. Never
// blocks, starts no thread and touches no file or socket: fetching,
// browsing and image decoding go through the Host.
#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>
#include "player/Host.h"
#include "player/stage/Stage.h"

namespace tesmar {

namespace bridge {
class ScriptBridge;
class LoadQueue;
}

class Player {
public:
    explicit Player(Host& host);
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // Loads a movie into level 0; false (and error()) when it is refused.
    bool load(std::span<const uint8_t> bytes, const std::string& url);
    const std::string& error() const { return error_; }

    // Runs one frame; the host calls it frameRate() times a second.
    void tick();
    // Input runs the scripts it triggers (button actions, mouse and key
    // events) at once.
    // A move to where the pointer already is reports nothing unless the
    // host saw the pointer move (hosts report a position with each press).
    void mouseMove(double x, double y, bool reportStill = false);
    void mouseDown();
    void mouseUp();
    // Virtual-key codes as movies see them (letters and digits are their
    // upper-case ASCII), with the character the key types (0: none).
    void keyDown(uint8_t keyCode, uint16_t ascii = 0);
    void keyUp(uint8_t keyCode = 0, uint16_t ascii = 0);
    // The player's window lost the keyboard: focus leaves the movie.
    void focusLost();
    // A character typed: it goes into the focused input text field.
    void textInput(char32_t character);
    // Editing commands for the focused input text field.
    enum class TextCommand : uint8_t {
        Enter, Backspace, Delete, MoveLeft, MoveRight, LineStart, LineEnd, SelectAll, Copy, Cut, Paste
    };
    void textCommand(TextCommand command);
    // The text that Copy and Cut leave and Paste enters.
    void setClipboard(std::string text) { clipboard_ = std::move(text); }
    const std::string& clipboard() const { return clipboard_; }

    void setViewSize(int width, int height) { stage_.setViewSize(width, height); }
    void setQuality(render::Quality quality) { stage_.setQuality(quality); }
    bool needsRedraw() const { return stage_.needsRedraw(); }
    // Draws the stage; target is resized to the view when it differs.
    void render(Image& target);

    double frameRate() const { return frameRate_; }
    int stageWidth() const { return int(stage_.stageRect().width() / 20); }
    int stageHeight() const { return int(stage_.stageRect().height() / 20); }
    Rgba background() const { return stage_.background(); }

    // A get-URL request from a movie: "FSCommand:..." goes to the host,
    // a "_levelN" target loads (or, with an empty url, unloads) that level,
    // anything else opens in the browser when its scheme is allowed.
    void getUrl(const std::string& url, const std::string& target);
    void loadMovie(int level, const std::string& url);
    // The host's answer to Host::fetch. What arrived takes effect at the
    // start of the next tick, never while scripts run.
    void fetchDone(uint32_t request, bool ok, std::span<const uint8_t> bytes);
    // The host's news of a socket link (Host::connectSocket); like fetches,
    // it reaches the scripts at the start of the next tick.
    void socketConnected(uint32_t socket, bool ok);
    void socketData(uint32_t socket, std::span<const uint8_t> bytes);
    void socketClosed(uint32_t socket);
    // Applies what arrived since the last tick without playing a frame: a
    // host that stops ticking still lets the movie hear of its loads.
    void finishLoads();
    // Movies, variables and texts being loaded for the scripts.
    bridge::LoadQueue& loads() { return *loads_; }
    bridge::ScriptBridge* scripts() { return scripts_.get(); }
    // Runs the scripts queued outside a tick (events of a finished load).
    void runScripts() { runActions(); }
    // Reads a movie file (images it holds decoded through the host).
    std::shared_ptr<const swf::Movie> read(std::span<const uint8_t> bytes, std::string& error);
    // Puts a movie into a level; level 0 also sets the frame rate and the
    // address that relative URLs resolve against.
    void enterLevel(int level, std::shared_ptr<const swf::Movie> movie, const std::string& url);
    const std::string& url() const { return url_; }

    // Scripts: the stage queues action blocks and the player's script
    // machine runs them. A runner, when set, receives them instead (tests
    // that watch what the stage hands over).
    using ActionRunner = std::function<void(const stage::QueuedActions&)>;
    void setActionRunner(ActionRunner runner) { runner_ = std::move(runner); }
    stage::Stage& stage() { return stage_; }
    Host& host() { return host_; }

private:
    void runActions();
    void drawFocusRect(Image& target);
    void setVersionVariable();

    Host& host_;
    // Before the stage: the movies it keeps for clips outlive the clips.
    std::unique_ptr<bridge::LoadQueue> loads_;
    stage::Stage stage_;
    std::unique_ptr<bridge::ScriptBridge> scripts_;
    render::Renderer renderer_;   // its buffers serve every frame
    std::string url_;
    std::string error_;
    double frameRate_ = 12;
    std::string clipboard_;
    ActionRunner runner_;
};

// Resolves a movie's relative address against the address of the movie
// that asks for it.
std::string resolveUrl(const std::string& base, const std::string& url);
// Whether an address may be opened in the browser: http:, https:, mailto:.
bool browserMayOpen(const std::string& url);

} // namespace tesmar
