// The harness's direct access to the program's settings key, independent of
// the program's own store code so that tests check what really is stored.
#include "Harness.h"

namespace tesmar::test {

std::optional<std::string> ReadStoredSetting(const std::string& key)
{
    DWORD size = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, MovieKeyPath, key.c_str(), RRF_RT_REG_SZ, nullptr,
                     nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::string text(size, '\0');
    if (RegGetValueA(HKEY_CURRENT_USER, MovieKeyPath, key.c_str(), RRF_RT_REG_SZ, nullptr,
                     text.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    text.resize(size > 0 ? size - 1 : 0);  // the size counts the closing zero
    return text;
}

void WriteStoredRawSetting(const std::string& key, DWORD type, const void* data, DWORD size)
{
    LSTATUS status = RegSetKeyValueA(HKEY_CURRENT_USER, MovieKeyPath, key.c_str(), type, data, size);
    ASSERT_EQ(status, ERROR_SUCCESS) << "cannot write " << key;
}

void WriteStoredSetting(const std::string& key, const std::string& text)
{
    WriteStoredRawSetting(key, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

std::map<std::string, std::string> ReadAllStoredSettings()
{
    std::map<std::string, std::string> texts;
    HKEY movie = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, MovieKeyPath, 0, KEY_READ, &movie) != ERROR_SUCCESS)
        return texts;
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD nameLength = sizeof name;
        if (RegEnumValueA(movie, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        if (std::optional<std::string> text = ReadStoredSetting(name))
            texts[name] = *text;
    }
    RegCloseKey(movie);
    return texts;
}

void StoreSettings(const std::map<std::string, std::string>& texts)
{
    for (const auto& [key, text] : texts)
        WriteStoredSetting(key, text);
}

void ClearStoredSettings()
{
    LSTATUS status = RegDeleteTreeA(HKEY_CURRENT_USER, ApplicationKeyPath);
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND)
        RegDeleteKeyA(HKEY_CURRENT_USER, ApplicationKeyPath);
    HKEY left = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, ApplicationKeyPath, 0, KEY_READ, &left) == ERROR_SUCCESS) {
        RegCloseKey(left);
        ADD_FAILURE() << "cannot delete the settings key";
    }
}

} // namespace tesmar::test
