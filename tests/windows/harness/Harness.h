#pragma once
// Test harness for the Windows tests: drives the real screen saver program
// from outside, as the system's screen-saver machinery and the user would.
//
//   ScreenSaver program = ScreenSaver::Start("/s");      // CreateProcess with a switch
//   HWND window = program.WaitForWindow("DefaultForm", 5000);
//   bool ended = program.WaitForExit(5000);
//   std::optional<std::string> text = ReadStoredSetting("gDefault");
//
// Tests derive their fixture from ScreenSaverTest, which clears the settings
// key and ends every running copy of the program before and after each test,
// so that no test sees another's store or instance.
//
// Everything works under 64-bit Wine and on Windows alike.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tesmar::test {

// Windows path of the screen saver under test (fixed when the tests are built).
std::string ScreenSaverPath();

// The program's settings key below HKEY_CURRENT_USER and its parent, the
// application key.
inline constexpr const char* ApplicationKeyPath =
    "Software\\VB and VBA Program Settings\\Tesmar Flash Screen Saver";
inline constexpr const char* MovieKeyPath =
    "Software\\VB and VBA Program Settings\\Tesmar Flash Screen Saver\\Movie";

// The nine keys in the order the program loads them.
inline const std::vector<std::string> SettingKeys = {
    "gDefault", "gGame", "gFilePath", "gFullScreen", "gMovieWidth",
    "gMovieHeight", "gBackground", "gInteraction", "gQuitPosition"};

// --- Settings store ---------------------------------------------------------

// The REG_SZ text of a value of the Movie key; nothing when the value (or
// the key) is missing or holds another type.
std::optional<std::string> ReadStoredSetting(const std::string& key);

// Writes a REG_SZ value, creating the key when needed. Fails the test on error.
void WriteStoredSetting(const std::string& key, const std::string& text);

// Writes a value of any registry type (for tests of foreign value types).
void WriteStoredRawSetting(const std::string& key, DWORD type, const void* data, DWORD size);

// Every value of the Movie key as text (REG_SZ values only).
std::map<std::string, std::string> ReadAllStoredSettings();

// Stores the nine keys at once, in load order; empty optionals stay missing.
void StoreSettings(const std::map<std::string, std::string>& texts);

// Deletes the application key with everything below it.
void ClearStoredSettings();

// --- The program's processes and windows --------------------------------------

// One started copy of the screen saver. The destructor ends it when it still runs.
class ScreenSaver {
public:
    // Starts the program with the given argument text (what follows the
    // program's path on its command line, e.g. "/p 1234"); empty for none.
    // Fails the test (fatally) when the process cannot be created.
    static ScreenSaver Start(const std::string& arguments);

    ScreenSaver(ScreenSaver&& other) noexcept;
    ScreenSaver& operator=(ScreenSaver&&) = delete;
    ~ScreenSaver();

    DWORD ProcessId() const { return processId_; }
    bool IsRunning() const;

    // Waits until the process ends; true when it ended within timeoutMs.
    // When windowsSeen is given, it collects the class names of the visible
    // top-level windows that the process showed while it was waited for.
    bool WaitForExit(DWORD timeoutMs, std::vector<std::string>* windowsSeen = nullptr);

    // Exit code once ended (STILL_ACTIVE while running).
    DWORD ExitCode() const;

    // Waits for a visible top-level window of this process with the class
    // name; null when none appeared within timeoutMs (or the process ended).
    HWND WaitForWindow(const std::string& className, DWORD timeoutMs) const;

    // Waits for the first visible top-level window of the process and returns
    // its class name; empty when none appeared within timeoutMs.
    std::string WaitForAnyWindowClass(DWORD timeoutMs) const;

    // The class names of the process's visible top-level windows right now.
    std::vector<std::string> VisibleWindowClasses() const;

    // Ends the process (if running) and waits until it is gone.
    void Terminate();

private:
    ScreenSaver(HANDLE process, DWORD processId) : process_(process), processId_(processId) {}
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
};

// Visible top-level windows of a process, as (window, class name) pairs.
std::vector<std::pair<HWND, std::string>> VisibleTopLevelWindows(DWORD processId);

// Ends every running copy of the screen saver (found by its file name), also
// those a test started indirectly, and waits until they are gone.
void EndAllScreenSavers();

// Fixture: a clean store and no running screen saver before and after each test.
class ScreenSaverTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

} // namespace tesmar::test
