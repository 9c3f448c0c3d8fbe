// The settings store: REG_SZ values under
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>,
// the usual place of per-user program settings of this kind, so settings that
// an earlier installation saved there are read as they stand.
#include "startup/Settings.h"

#include <windows.h>

namespace tesmar {

namespace {

std::string KeyPath(const std::string& application, const std::string& section)
{
    return "Software\\VB and VBA Program Settings\\" + application + "\\" + section;
}

std::string DescribeError(LSTATUS status)
{
    char text[512] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                  static_cast<DWORD>(status), 0, text, sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' '))
        text[--length] = '\0';
    return length > 0 ? std::string(text) : "error " + std::to_string(status);
}

} // namespace

std::string ReadSetting(const std::string& application, const std::string& section,
                        const std::string& key, const std::string& defaultText)
{
    const std::string path = KeyPath(application, section);
    // The value may change between asking for its size and reading it, so
    // a read that finds it grown tries again with the new size.
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD size = 0;
        if (RegGetValueA(HKEY_CURRENT_USER, path.c_str(), key.c_str(), RRF_RT_REG_SZ, nullptr,
                         nullptr, &size) != ERROR_SUCCESS)
            return defaultText;
        std::string text(size, '\0');
        LSTATUS status = RegGetValueA(HKEY_CURRENT_USER, path.c_str(), key.c_str(), RRF_RT_REG_SZ,
                                      nullptr, text.data(), &size);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS)
            return defaultText;
        if (size_t end = text.find('\0'); end != std::string::npos)
            text.resize(end);  // the text ends at its first zero
        return text;
    }
    return defaultText;
}

bool WriteSetting(const std::string& application, const std::string& section,
                  const std::string& key, const std::string& text, std::string* error)
{
    LSTATUS status = RegSetKeyValueA(HKEY_CURRENT_USER, KeyPath(application, section).c_str(),
                                     key.c_str(), REG_SZ, text.c_str(),
                                     static_cast<DWORD>(text.size() + 1));
    if (status == ERROR_SUCCESS)
        return true;
    if (error)
        *error = DescribeError(status);
    return false;
}

} // namespace tesmar
