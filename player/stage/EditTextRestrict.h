#pragma once
// The characters a field lets a user type (TextField.restrict): single
// characters and ranges ("a-z"), "^" switching between allowing and
// refusing what follows, "\" taking the next character literally. A later
// entry overrides an earlier one; a pattern that starts with "^" allows
// everything it does not refuse.
#include <string>
#include <vector>

namespace tesmar::stage {

class TypingRestriction {
public:
    explicit TypingRestriction(std::u32string_view pattern);
    bool allows(char32_t c) const;
    // What typing c enters: c, or c in the other case of an ASCII letter
    // when only that one is allowed; 0 when neither is.
    char32_t filter(char32_t c) const;

private:
    struct Entry {
        char32_t first, last;
        bool allow;
    };
    std::vector<Entry> entries_;
    bool allowByDefault_ = false;
};

} // namespace tesmar::stage
