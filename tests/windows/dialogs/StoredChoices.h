#pragma once
// Complete stores for the settings window's tests: every key present, so the
// program writes no defaults and shows exactly what the test stored.
#include <map>
#include <string>

namespace tesmar::test {

using Store = std::map<std::string, std::string>;

inline Store CompleteStore(const Store& overrides)
{
    Store store = {{"gDefault", "False"},    {"gGame", "False"},       {"gFilePath", ""},
                   {"gFullScreen", "True"},  {"gMovieWidth", "0"},     {"gMovieHeight", "0"},
                   {"gBackground", "0"},     {"gInteraction", "False"}, {"gQuitPosition", "0"}};
    for (const auto& [key, text] : overrides)
        store[key] = text;
    return store;
}

} // namespace tesmar::test
