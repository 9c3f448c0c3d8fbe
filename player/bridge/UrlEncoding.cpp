#include "player/bridge/UrlEncoding.h"

namespace tesmar::bridge {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isAlnum(unsigned char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

} // namespace

std::string urlEscape(std::string_view text, bool plusForSpace) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        if (isAlnum(c)) {
            out += char(c);
        } else if (c == ' ' && plusForSpace) {
            out += '+';
        } else {
            out += '%';
            out += digits[c >> 4];
            out += digits[c & 15];
        }
    }
    return out;
}

std::string urlUnescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+') {
            out += ' ';
        } else if (c == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
            out += char(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

FormVariables decodeForm(std::string_view text) {
    FormVariables variables;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('&', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view piece = text.substr(start, end - start);
        if (!piece.empty()) {
            const size_t eq = piece.find('=');
            if (eq == std::string_view::npos) variables.emplace_back(urlUnescape(piece), std::string());
            else variables.emplace_back(urlUnescape(piece.substr(0, eq)), urlUnescape(piece.substr(eq + 1)));
        }
        start = end + 1;
    }
    return variables;
}

std::string encodeForm(const FormVariables& variables, bool plusForSpace) {
    std::string out;
    for (const auto& [name, value] : variables) {
        if (!out.empty()) out += '&';
        out += urlEscape(name, plusForSpace) + '=' + urlEscape(value, plusForSpace);
    }
    return out;
}

} // namespace tesmar::bridge
