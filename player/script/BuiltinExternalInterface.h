#pragma once
// The text conversions of the page bridge (ExternalInterface), shared with
// its tests.

#include <string>

namespace tesmar::script {

// & < > " ' as XML entities.
std::string escapeXmlText(const std::string& text);
// The five entities back to their characters; other '&' text stays.
std::string unescapeXmlText(const std::string& text);
// A double quote gets a backslash before it; nothing else changes.
std::string quoteJsText(const std::string& text);

} // namespace tesmar::script
