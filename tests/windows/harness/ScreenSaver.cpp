// Starting, watching and ending copies of the screen saver program.
#include "Harness.h"

#include <tlhelp32.h>

#include <algorithm>
#include <stdexcept>

namespace tesmar::test {

namespace {

constexpr DWORD PollIntervalMs = 20;
constexpr const char* ProgramFileName = "Tesmar Flash Screen Saver.scr";

std::string ClassNameOf(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// Polls until found() is true or the time is up; true when found.
template <typename Found>
bool PollUntil(DWORD timeoutMs, Found found)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (found())
            return true;
        if (GetTickCount64() >= end)
            return false;
        Sleep(PollIntervalMs);
    }
}

} // namespace

std::string ScreenSaverPath()
{
    std::string path = TESMAR_SCREENSAVER_PATH;  // "Z:/..." from the build
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::vector<std::pair<HWND, std::string>> VisibleTopLevelWindows(DWORD processId)
{
    struct Search {
        DWORD processId;
        std::vector<std::pair<HWND, std::string>> found;
    } search{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* search = reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == search->processId && IsWindowVisible(window))
                search->found.emplace_back(window, ClassNameOf(window));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

ScreenSaver ScreenSaver::Start(const std::string& arguments)
{
    std::string commandLine = "\"" + ScreenSaverPath() + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    // Wine on a busy machine now and then fails a start with an internal
    // error that a second attempt does not meet.
    DWORD error = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &info))
            break;
        error = GetLastError();
        if (error != ERROR_INTERNAL_ERROR) break;
        Sleep(500);
    }
    if (!info.hProcess) {
        ADD_FAILURE() << "cannot start " << commandLine << " (error " << error << ")";
        throw std::runtime_error("screen saver did not start");
    }
    CloseHandle(info.hThread);
    return ScreenSaver(info.hProcess, info.dwProcessId);
}

ScreenSaver::ScreenSaver(ScreenSaver&& other) noexcept
    : process_(other.process_), processId_(other.processId_)
{
    other.process_ = nullptr;
}

ScreenSaver::~ScreenSaver()
{
    if (!process_)
        return;
    Terminate();
    CloseHandle(process_);
}

bool ScreenSaver::IsRunning() const
{
    return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool ScreenSaver::WaitForExit(DWORD timeoutMs, std::vector<std::string>* windowsSeen)
{
    return PollUntil(timeoutMs, [&] {
        if (windowsSeen) {
            for (const auto& [window, className] : VisibleTopLevelWindows(processId_))
                if (std::find(windowsSeen->begin(), windowsSeen->end(), className) ==
                    windowsSeen->end())
                    windowsSeen->push_back(className);
        }
        return !IsRunning();
    });
}

DWORD ScreenSaver::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_, &code);
    return code;
}

HWND ScreenSaver::WaitForWindow(const std::string& className, DWORD timeoutMs) const
{
    HWND found = nullptr;
    PollUntil(timeoutMs, [&] {
        for (const auto& [window, name] : VisibleTopLevelWindows(processId_))
            if (name == className)
                found = window;
        return found != nullptr || !IsRunning();
    });
    return found;
}

std::string ScreenSaver::WaitForAnyWindowClass(DWORD timeoutMs) const
{
    std::string found;
    PollUntil(timeoutMs, [&] {
        std::vector<std::pair<HWND, std::string>> windows = VisibleTopLevelWindows(processId_);
        if (!windows.empty())
            found = windows.front().second;
        return !found.empty() || !IsRunning();
    });
    return found;
}

std::vector<std::string> ScreenSaver::VisibleWindowClasses() const
{
    std::vector<std::string> names;
    for (const auto& [window, name] : VisibleTopLevelWindows(processId_))
        names.push_back(name);
    return names;
}

void ScreenSaver::Terminate()
{
    if (IsRunning()) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
}

void EndAllScreenSavers()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, ProgramFileName) != 0)
            continue;
        if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    }
    CloseHandle(snapshot);
}

void ScreenSaverTest::SetUp()
{
    EndAllScreenSavers();
    ClearStoredSettings();
}

void ScreenSaverTest::TearDown()
{
    EndAllScreenSavers();
    ClearStoredSettings();
}

} // namespace tesmar::test
