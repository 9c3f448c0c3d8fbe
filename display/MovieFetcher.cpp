#include "display/MovieFetcher.h"

#include <wininet.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "display/WideText.h"

namespace tesmar {

namespace {

// Two fetches at a time: a movie that asks for many waits its turn instead
// of starting a thread each.
constexpr int kWorkers = 2;
constexpr DWORD kConnectTimeoutMs = 15'000;
constexpr DWORD kReceiveTimeoutMs = 30'000;
constexpr size_t kMaxQueued = 256;

bool StartsWithNoCase(const std::string& text, const char* prefix)
{
    const size_t length = strlen(prefix);
    return text.size() >= length && _strnicmp(text.c_str(), prefix, length) == 0;
}

bool IsWebAddress(const std::string& location)
{
    return StartsWithNoCase(location, "http://") || StartsWithNoCase(location, "https://");
}

// "file:///C:/movies/a%20b.swf" -> "C:\movies\a b.swf"; other locations unchanged.
std::string LocalPathOf(const std::string& location)
{
    if (!StartsWithNoCase(location, "file:"))
        return location;
    std::string rest = location.substr(5);
    while (!rest.empty() && rest.front() == '/')
        rest.erase(rest.begin());
    std::string path;
    for (size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '%' && i + 2 < rest.size() && isxdigit(uint8_t(rest[i + 1])) &&
            isxdigit(uint8_t(rest[i + 2]))) {
            path.push_back(char(std::stoi(rest.substr(i + 1, 2), nullptr, 16)));
            i += 2;
        } else {
            path.push_back(rest[i] == '/' ? '\\' : rest[i]);
        }
    }
    return path;
}

bool ReadLocalFile(const std::string& location, std::vector<uint8_t>& bytes)
{
    const std::wstring path = WideFromText(LocalPathOf(location));
    if (path.empty())
        return false;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart >= 0 &&
              uint64_t(size.QuadPart) <= MovieFetcher::kMaxBytes;
    if (ok) {
        bytes.resize(size_t(size.QuadPart));
        DWORD read = 0;
        ok = bytes.empty() || (ReadFile(file, bytes.data(), DWORD(bytes.size()), &read, nullptr) &&
                               read == bytes.size());
    }
    CloseHandle(file);
    return ok;
}

class WebSession {
public:
    WebSession()
    {
        session_ = InternetOpenW(L"Tesmar Flash Screen Saver", INTERNET_OPEN_TYPE_PRECONFIG, nullptr,
                                 nullptr, 0);
        if (!session_)
            return;
        DWORD connect = kConnectTimeoutMs, receive = kReceiveTimeoutMs;
        InternetSetOptionW(session_, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof connect);
        InternetSetOptionW(session_, INTERNET_OPTION_RECEIVE_TIMEOUT, &receive, sizeof receive);
        InternetSetOptionW(session_, INTERNET_OPTION_SEND_TIMEOUT, &receive, sizeof receive);
    }
    ~WebSession()
    {
        if (session_)
            InternetCloseHandle(session_);
    }
    WebSession(const WebSession&) = delete;
    WebSession& operator=(const WebSession&) = delete;

    // The whole body of a successful answer; false on any failure, an
    // answer other than 2xx, a body over the size limit or the time limit.
    bool get(const std::string& url, std::vector<uint8_t>& bytes)
    {
        if (!session_)
            return false;
        // Nothing is kept on disk: no cache entry, no cookies.
        const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI |
                            INTERNET_FLAG_NO_COOKIES;
        HINTERNET answer = InternetOpenUrlW(session_, WideFromText(url).c_str(), nullptr, 0, flags, 0);
        if (!answer)
            return false;
        const bool ok = statusIsSuccess(answer) && readBody(answer, bytes);
        InternetCloseHandle(answer);
        return ok;
    }

private:
    static bool statusIsSuccess(HINTERNET answer)
    {
        DWORD status = 0, size = sizeof status;
        if (!HttpQueryInfoW(answer, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
            return false;
        return status >= 200 && status < 300;
    }

    static bool readBody(HINTERNET answer, std::vector<uint8_t>& bytes)
    {
        const ULONGLONG deadline = GetTickCount64() + MovieFetcher::kTimeLimitMs;
        uint8_t buffer[64 * 1024];
        for (;;) {
            DWORD read = 0;
            if (!InternetReadFile(answer, buffer, sizeof buffer, &read))
                return false;
            if (read == 0)
                return true;
            if (bytes.size() + read > MovieFetcher::kMaxBytes || GetTickCount64() > deadline)
                return false;
            bytes.insert(bytes.end(), buffer, buffer + read);
        }
    }

    HINTERNET session_ = nullptr;
};

} // namespace

struct MovieFetcher::Queue {
    struct Job {
        uint32_t request;
        std::string location;
    };
    HWND replyWindow;
    UINT replyMessage;
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<Job> jobs;
    bool closed = false;
    int workers = 0;

    void post(std::unique_ptr<FetchResult> result)
    {
        if (PostMessageW(replyWindow, replyMessage, 0, reinterpret_cast<LPARAM>(result.get())))
            result.release();
    }

    // A worker's life: fetch jobs until the fetcher closes. It holds the
    // queue alive itself, so the control may go away while it works.
    static void work(std::shared_ptr<Queue> queue)
    {
        WebSession web;
        for (;;) {
            Job job;
            {
                std::unique_lock lock(queue->mutex);
                queue->wake.wait(lock, [&] { return queue->closed || !queue->jobs.empty(); });
                if (queue->closed)
                    return;
                job = std::move(queue->jobs.front());
                queue->jobs.pop_front();
            }
            auto result = std::make_unique<FetchResult>();
            result->request = job.request;
            result->ok = IsWebAddress(job.location) ? web.get(job.location, result->bytes)
                                                    : ReadLocalFile(job.location, result->bytes);
            if (!result->ok)
                result->bytes.clear();
            queue->post(std::move(result));
        }
    }
};

MovieFetcher::MovieFetcher(HWND replyWindow, UINT replyMessage) : queue_(std::make_shared<Queue>())
{
    queue_->replyWindow = replyWindow;
    queue_->replyMessage = replyMessage;
}

MovieFetcher::~MovieFetcher()
{
    {
        std::lock_guard lock(queue_->mutex);
        queue_->closed = true;
        queue_->jobs.clear();
    }
    queue_->wake.notify_all();
}

void MovieFetcher::fetch(uint32_t request, const std::string& location)
{
    {
        std::lock_guard lock(queue_->mutex);
        if (queue_->jobs.size() >= kMaxQueued) {
            auto refused = std::make_unique<FetchResult>();
            refused->request = request;
            queue_->post(std::move(refused));
            return;
        }
        queue_->jobs.push_back({request, location});
        if (queue_->workers < kWorkers) {
            ++queue_->workers;
            std::thread(Queue::work, queue_).detach();
        }
    }
    queue_->wake.notify_one();
}

std::unique_ptr<FetchResult> TakeFetchResult(LPARAM lParam)
{
    return std::unique_ptr<FetchResult>(reinterpret_cast<FetchResult*>(lParam));
}

void DiscardFetchResults(HWND window, UINT replyMessage)
{
    // PeekMessage hands back WM_QUIT whatever the filter says; a window
    // that posted it while closing must still see its loop end, so it is
    // put back and the draining stops there.
    MSG message;
    while (PeekMessageW(&message, window, replyMessage, replyMessage, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(int(message.wParam));
            return;
        }
        TakeFetchResult(message.lParam);
    }
}

} // namespace tesmar
