#include "player/stage/EditTextRestrict.h"

namespace tesmar::stage {

namespace {

struct Token {
    char32_t c;
    bool escaped;
    bool is(char32_t special) const { return !escaped && c == special; }
};

std::vector<Token> tokens(std::u32string_view pattern) {
    std::vector<Token> out;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '\\') {
            // A backslash at the very end stands for nothing.
            if (i + 1 < pattern.size()) out.push_back({pattern[++i], true});
            continue;
        }
        out.push_back({pattern[i], false});
    }
    return out;
}

char32_t otherCase(char32_t c) {
    if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
    if (c >= 'A' && c <= 'Z') return c - 'A' + 'a';
    return 0;
}

} // namespace

TypingRestriction::TypingRestriction(std::u32string_view pattern) {
    const std::vector<Token> t = tokens(pattern);
    allowByDefault_ = !t.empty() && t[0].is('^');
    bool allow = true;
    // The end of a run of dashes from i, and whether a character follows it.
    auto afterDashes = [&](size_t i, char32_t& next) {
        while (i < t.size() && t[i].is('-')) ++i;
        const bool found = i < t.size() && !t[i].is('^');
        if (found) next = t[i].c;
        return std::make_pair(i, found);
    };
    for (size_t i = 0; i < t.size();) {
        if (t[i].is('^')) {
            allow = !allow;
            ++i;
            continue;
        }
        char32_t next = 0;
        if (t[i].is('-')) {
            // A dash with nothing before it ranges from the first character.
            auto [end, found] = afterDashes(i, next);
            if (found) entries_.push_back({0, next, allow});
            i = found ? end + 1 : end;
            continue;
        }
        const char32_t first = t[i].c;
        if (i + 1 < t.size() && t[i + 1].is('-')) {
            auto [end, found] = afterDashes(i + 1, next);
            // A range written backwards holds only its first character.
            entries_.push_back({first, found && next >= first ? next : first, allow});
            i = found ? end + 1 : end;
            continue;
        }
        entries_.push_back({first, first, allow});
        ++i;
    }
}

bool TypingRestriction::allows(char32_t c) const {
    bool allowed = allowByDefault_;
    for (const Entry& e : entries_)
        if (c >= e.first && c <= e.last) allowed = e.allow;
    return allowed;
}

char32_t TypingRestriction::filter(char32_t c) const {
    if (allows(c)) return c;
    const char32_t other = otherCase(c);
    return other && allows(other) ? other : 0;
}

} // namespace tesmar::stage
