#pragma once
// Reading XML text as the player's XML.parseXML does: a forgiving, one-pass
// reader that reports elements, text and declarations to a handler and
// stops at the first malformed construct with the status code that XML
// objects show. It knows nothing of script objects.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tesmar::script {

// XML.status values.
enum XmlStatus {
    XmlOk = 0,
    XmlCdataUnterminated = -2,
    XmlDeclarationUnterminated = -3,
    XmlDoctypeUnterminated = -4,
    XmlCommentUnterminated = -5,
    XmlMalformedElement = -6,
    XmlAttributeUnterminated = -8,
    XmlStartTagUnmatched = -9,
    XmlEndTagUnmatched = -10,
};

using XmlAttributeList = std::vector<std::pair<std::string, std::string>>;

class XmlHandler {
public:
    virtual ~XmlHandler() = default;
    // Attributes in document order, their values unescaped; an empty
    // element (`<a/>`) gets no endElement.
    virtual void startElement(const std::string& name, const XmlAttributeList& attributes, bool empty) = 0;
    virtual void endElement() = 0;
    // Text between tags, unescaped, or the raw contents of a CDATA section.
    virtual void text(const std::string& characters) = 0;
    // The whole `<?...?>` and `<!DOCTYPE ...>` texts.
    virtual void declaration(const std::string& text) = 0;
    virtual void doctype(const std::string& text) = 0;
};

// Reads the text, dropping comments, and whitespace-only text when
// ignoreWhite is set. Returns an XmlStatus.
int parseXml(std::string_view source, bool ignoreWhite, XmlHandler& handler);

// Replaces &amp; &lt; &gt; &quot; &apos; and numeric character references;
// any other `&` stays as it is.
std::string xmlUnescape(std::string_view text);
// Escapes & < > " ' for text and attribute values.
std::string xmlEscape(std::string_view text);

} // namespace tesmar::script
