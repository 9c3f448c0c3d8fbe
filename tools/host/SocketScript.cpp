#include "host/SocketScript.h"
#include <cctype>
#include "player/Player.h"

namespace tesmar::host {

namespace {

// Just enough of the file's JSON: a list of flat objects whose fields are
// strings or lists of byte values.
class StepReader {
public:
    explicit StepReader(const std::string& text) : s_(text) {}

    std::optional<std::vector<SocketStep>> read() {
        std::vector<SocketStep> steps;
        if (!eat('[')) return std::nullopt;
        if (eat(']')) return steps;
        do {
            SocketStep step;
            if (!object(step)) return std::nullopt;
            steps.push_back(std::move(step));
        } while (eat(','));
        if (!eat(']')) return std::nullopt;
        return steps;
    }

private:
    void space() {
        while (pos_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[pos_]))) ++pos_;
    }
    bool eat(char c) {
        space();
        if (pos_ >= s_.size() || s_[pos_] != c) return false;
        ++pos_;
        return true;
    }
    bool string(std::string& out) {
        if (!eat('"')) return false;
        const size_t end = s_.find('"', pos_);
        if (end == std::string::npos) return false;
        out = s_.substr(pos_, end - pos_);
        pos_ = end + 1;
        return true;
    }
    bool bytes(std::vector<uint8_t>& out) {
        if (!eat('[')) return false;
        if (eat(']')) return true;
        do {
            space();
            int value = 0, digits = 0;
            while (pos_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[pos_])) && digits < 4) {
                value = value * 10 + (s_[pos_++] - '0');
                ++digits;
            }
            if (digits == 0 || value > 255) return false;
            out.push_back(uint8_t(value));
        } while (eat(','));
        return eat(']');
    }
    bool object(SocketStep& step) {
        if (!eat('{')) return false;
        std::string type;
        if (!eat('}')) {
            do {
                std::string key;
                if (!string(key) || !eat(':')) return false;
                space();
                const bool ok = pos_ < s_.size() && s_[pos_] == '"' ? string(key == "type" ? type : key)
                                                                    : bytes(step.bytes);
                if (!ok) return false;
            } while (eat(','));
            if (!eat('}')) return false;
        }
        if (type == "Receive") step.type = SocketStep::Type::Receive;
        else if (type == "Send") step.type = SocketStep::Type::Send;
        else if (type == "Disconnect") step.type = SocketStep::Type::Disconnect;
        else if (type == "WaitForDisconnect") step.type = SocketStep::Type::WaitForDisconnect;
        else return false;
        return true;
    }

    const std::string& s_;
    size_t pos_ = 0;
};

} // namespace

std::optional<std::vector<SocketStep>> parseSocketScript(const std::string& json) { return StepReader(json).read(); }

bool SocketServer::accept(uint32_t socket) {
    if (socket_ != 0) return false;
    socket_ = socket;
    announced_ = false;
    return true;
}

void SocketServer::received(uint32_t socket, const std::vector<uint8_t>& bytes) {
    if (socket == socket_) inbox_.insert(inbox_.end(), bytes.begin(), bytes.end());
}

void SocketServer::closedByMovie(uint32_t socket) {
    if (socket == socket_) movieClosed_ = true;
}

void SocketServer::play(Player& player) {
    if (socket_ == 0) return;
    if (!announced_) {
        announced_ = true;
        player.socketConnected(socket_, true);
        return;
    }
    while (next_ < steps_.size()) {
        const SocketStep& step = steps_[next_];
        if (step.type == SocketStep::Type::Receive) {
            if (inbox_.size() < step.bytes.size()) return;
            inbox_.erase(inbox_.begin(), inbox_.begin() + std::ptrdiff_t(step.bytes.size()));
        } else if (step.type == SocketStep::Type::WaitForDisconnect) {
            if (!movieClosed_) return;
        } else if (movieClosed_) {
            return;
        } else if (step.type == SocketStep::Type::Send) {
            player.socketData(socket_, step.bytes);
        } else {
            player.socketClosed(socket_);
        }
        ++next_;
    }
}

} // namespace tesmar::host
