#pragma once
// Fetches movies away from the window's thread, so that a slow or dead
// server never stops the screen: http: and https: addresses through WinINet,
// anything else as a local file. Each answer is posted to the reply window
// as the reply message, with a FetchResult* in its LPARAM that the window
// takes with TakeFetchResult. A fetch gives up after a time limit and
// refuses anything larger than a size limit.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tesmar {

struct FetchResult {
    uint32_t request = 0;
    bool ok = false;
    std::vector<uint8_t> bytes;
};

class MovieFetcher {
public:
    static constexpr size_t kMaxBytes = size_t(64) << 20;
    static constexpr DWORD kTimeLimitMs = 60'000;

    MovieFetcher(HWND replyWindow, UINT replyMessage);
    // Fetches not yet started are dropped; one under way ends on its own
    // and its answer, posted to a window that is gone, is freed.
    ~MovieFetcher();
    MovieFetcher(const MovieFetcher&) = delete;
    MovieFetcher& operator=(const MovieFetcher&) = delete;

    void fetch(uint32_t request, const std::string& location);

private:
    struct Queue;
    std::shared_ptr<Queue> queue_;
};

// Takes ownership of the answer a reply message carries.
std::unique_ptr<FetchResult> TakeFetchResult(LPARAM lParam);

// Frees the answers still queued for a window that is being destroyed.
void DiscardFetchResults(HWND window, UINT replyMessage);

} // namespace tesmar
