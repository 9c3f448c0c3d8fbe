// Typing into a text field: text entered at the caret in place of the
// selection, and the editing keys.
#include "player/stage/EditText.h"
#include "player/stage/EditTextRestrict.h"

namespace tesmar::stage {

void EditText::setSelection(size_t begin, size_t end) {
    selectionBegin_ = std::min(begin, text_.size());
    selectionEnd_ = std::min(std::max(end, selectionBegin_), text_.size());
    caretAtBegin_ = false;
}

void EditText::selectTowards(size_t anchor, size_t caret) {
    setSelection(std::min(anchor, caret), std::max(anchor, caret));
    caretAtBegin_ = caret < anchor;
}

bool EditText::typeText(std::u32string_view typed) {
    std::optional<TypingRestriction> allowed;
    if (restrict && !restrict->empty()) allowed.emplace(decodeText(*restrict));
    std::u32string entered;
    for (char32_t c : typed) {
        if (c == '\n') c = '\r';
        if (c == '\r' && !multiline) continue;
        if (c != '\r' && (c < 0x20 || c == 0x7F)) continue;
        if (allowed && c != '\r') c = allowed->filter(c);
        if (c) entered.push_back(c);
    }
    const size_t kept = text_.size() - (selectionEnd_ - selectionBegin_);
    if (maxChars > 0 && kept + entered.size() > size_t(maxChars))
        entered.resize(kept < size_t(maxChars) ? size_t(maxChars) - kept : 0);
    if (entered.empty() && selectionBegin_ == selectionEnd_) return false;

    // New characters look like the one before them.
    const TextFormat look = selectionBegin_ > 0 ? text_.formats[selectionBegin_ - 1]
                          : text_.size() > 0   ? text_.formats[0]
                                               : format_;
    text_.chars.replace(selectionBegin_, selectionEnd_ - selectionBegin_, entered);
    text_.formats.erase(text_.formats.begin() + std::ptrdiff_t(selectionBegin_),
                        text_.formats.begin() + std::ptrdiff_t(selectionEnd_));
    text_.formats.insert(text_.formats.begin() + std::ptrdiff_t(selectionBegin_), entered.size(), look);
    selectionBegin_ = selectionEnd_ = selectionBegin_ + entered.size();
    textChanged();
    return true;
}

bool EditText::editKey(EditKey key) {
    const bool collapsed = selectionBegin_ == selectionEnd_;
    switch (key) {
    case EditKey::Backspace:
        if (collapsed && selectionBegin_ == 0) return false;
        if (collapsed) --selectionBegin_;
        return typeText({});
    case EditKey::Delete:
        if (collapsed && selectionEnd_ >= text_.size()) return false;
        if (collapsed) ++selectionEnd_;
        return typeText({});
    case EditKey::Left: {
        const size_t to = collapsed && selectionBegin_ > 0 ? selectionBegin_ - 1 : selectionBegin_;
        setSelection(to, to);
        return false;
    }
    case EditKey::Right: {
        const size_t to = collapsed ? std::min(selectionEnd_ + 1, text_.size()) : selectionEnd_;
        setSelection(to, to);
        return false;
    }
    case EditKey::Home: setSelection(0, 0); return false;
    case EditKey::End: setSelection(text_.size(), text_.size()); return false;
    case EditKey::Enter: return multiline && typeText(U"\r");
    }
    return false;
}

} // namespace tesmar::stage
