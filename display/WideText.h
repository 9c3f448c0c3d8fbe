#pragma once
// Texts from movies and settings reach Windows as UTF-16. Movie strings are
// UTF-8 when they are valid UTF-8; anything else (an older movie's text, a
// path read from the settings) is taken in the system's ANSI code page.
#include <windows.h>

#include <string>

namespace tesmar {

inline std::wstring WideFromText(const std::string& text)
{
    if (text.empty())
        return {};
    for (UINT codePage : {UINT(CP_UTF8), UINT(CP_ACP)}) {
        const DWORD flags = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
        const int length = MultiByteToWideChar(codePage, flags, text.data(), int(text.size()), nullptr, 0);
        if (length <= 0)
            continue;
        std::wstring wide(size_t(length), L'\0');
        MultiByteToWideChar(codePage, flags, text.data(), int(text.size()), wide.data(), length);
        return wide;
    }
    return {};
}

} // namespace tesmar
