#pragma once
// The other end of a movie's XMLSocket in tool runs: a script of steps (the
// corpus's socket.json) that it plays in order. "Receive" waits for the
// movie to send that many bytes, "Send" hands the movie a payload,
// "Disconnect" ends the link, "WaitForDisconnect" waits for the movie to.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tesmar {
class Player;
}

namespace tesmar::host {

struct SocketStep {
    enum class Type { Receive, Send, Disconnect, WaitForDisconnect };
    Type type = Type::Send;
    std::vector<uint8_t> bytes;   // expected (Receive) or payload (Send)
};

// The steps of a socket.json text; nullopt when it is no such list.
std::optional<std::vector<SocketStep>> parseSocketScript(const std::string& json);

class SocketServer {
public:
    explicit SocketServer(std::vector<SocketStep> steps) : steps_(std::move(steps)) {}
    // Takes one link at a time.
    bool accept(uint32_t socket);
    void received(uint32_t socket, const std::vector<uint8_t>& bytes);
    void closedByMovie(uint32_t socket);
    // Tells the player what happened since the last call and plays the
    // steps that can run now.
    void play(Player& player);

private:
    std::vector<SocketStep> steps_;
    size_t next_ = 0;
    uint32_t socket_ = 0;
    bool announced_ = false;
    bool movieClosed_ = false;
    std::vector<uint8_t> inbox_;
};

} // namespace tesmar::host
