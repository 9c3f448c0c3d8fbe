// The XML reader on its own: what it reports, the status of malformed
// text, and inputs built to hurt it.

#include "player/script/BuiltinXmlParser.h"

#include <gtest/gtest.h>

namespace tesmar::script {
namespace {

// Writes every event as a short line.
class Recorder : public XmlHandler {
public:
    std::vector<std::string> events;
    size_t depth = 0, maxDepth = 0;

    void startElement(const std::string& name, const XmlAttributeList& attributes, bool empty) override
    {
        std::string line = "<" + name;
        for (const auto& [key, value] : attributes) line += " " + key + "=" + value;
        events.push_back(line + (empty ? "/>" : ">"));
        if (!empty) maxDepth = std::max(maxDepth, ++depth);
    }
    void endElement() override
    {
        --depth;
        events.push_back("end");
    }
    void text(const std::string& characters) override { events.push_back("'" + characters + "'"); }
    void declaration(const std::string& text) override { events.push_back("decl " + text); }
    void doctype(const std::string& text) override { events.push_back("doctype " + text); }
};

std::vector<std::string> eventsOf(const std::string& source, bool ignoreWhite = false, int* status = nullptr)
{
    Recorder r;
    int s = parseXml(source, ignoreWhite, r);
    if (status) *status = s;
    return r.events;
}

using Events = std::vector<std::string>;

TEST(XmlParser, ReportsEveryConstructInOrder)
{
    int status = 1;
    Events e = eventsOf("<?xml version='1.0'?><!DOCTYPE a [<!ENTITY x '>'>]><a k='v' j=\"w\"><!--gone-->"
                        "t<![CDATA[<raw>&amp;]]><b/></a >tail",
                        false, &status);
    EXPECT_EQ(status, XmlOk);
    EXPECT_EQ(e, (Events{"decl <?xml version='1.0'?>", "doctype <!DOCTYPE a [<!ENTITY x '>'>]>", "<a k=v j=w>",
                         "'t'", "'<raw>&amp;'", "<b/>", "end", "'tail'"}));
}

TEST(XmlParser, IgnoreWhiteDropsOnlyBlankText)
{
    EXPECT_EQ(eventsOf("<r> \n\t<f> x </f>  </r>", true), (Events{"<r>", "<f>", "' x '", "end", "end"}));
    EXPECT_EQ(eventsOf("<r> <f/></r>", false), (Events{"<r>", "' '", "<f/>", "end"}));
}

TEST(XmlParser, StatusOfMalformedText)
{
    const std::pair<const char*, int> cases[] = {
        {"<a><![CDATA[open", XmlCdataUnterminated},
        {"<?xml version='1.0'", XmlDeclarationUnterminated},
        {"<!DOCTYPE a [ <x> ", XmlDoctypeUnterminated},
        {"<a><!-- never closed", XmlCommentUnterminated},
        {"<a", XmlMalformedElement},
        {"< a>", XmlMalformedElement},
        {"<a b>", XmlMalformedElement},
        {"<a b=c>", XmlMalformedElement},
        {"<a b='c>", XmlAttributeUnterminated},
        {"<a><b></a>", XmlStartTagUnmatched},
        {"<a>", XmlStartTagUnmatched},
        {"</a>", XmlEndTagUnmatched},
        {"<a></a></a>", XmlEndTagUnmatched},
        {"<a></a", XmlMalformedElement},
    };
    for (const auto& [source, expected] : cases) {
        int status = 0;
        eventsOf(source, false, &status);
        EXPECT_EQ(status, expected) << source;
    }
}

TEST(XmlParser, StopsAtTheFirstErrorKeepingWhatCameBefore)
{
    int status = 0;
    EXPECT_EQ(eventsOf("<a>x</b><c/>", false, &status), (Events{"<a>", "'x'"}));
    EXPECT_EQ(status, XmlStartTagUnmatched);
}

TEST(XmlParser, UnescapesKnownReferencesOnly)
{
    EXPECT_EQ(xmlUnescape("A &amp; &#39; &#x41;&lt;&gt;&quot;&apos; B"), "A & ' A<>\"' B");
    EXPECT_EQ(xmlUnescape("A &&thing; &&amp; &amp"), "A &&thing; && &amp");
    EXPECT_EQ(xmlUnescape("&#0; &#x110000; &#xZZ; &#; &"), "&#0; &#x110000; &#xZZ; &#; &");
    EXPECT_EQ(xmlUnescape("&#1076;&#x1F600;"), "\xD0\xB4\xF0\x9F\x98\x80");
    EXPECT_EQ(eventsOf("<a t=\"&lt;&amp;\">&gt;</a>"), (Events{"<a t=<&>", "'>'", "end"}));
}

TEST(XmlParser, EscapesTheFiveMarkupCharacters)
{
    EXPECT_EQ(xmlEscape("I'm <b> & \"q\""), "I&apos;m &lt;b&gt; &amp; &quot;q&quot;");
    EXPECT_EQ(xmlUnescape(xmlEscape("<&'\">&amp;")), "<&'\">&amp;");
}

TEST(XmlParser, DeepNestingUsesNoNativeStack)
{
    const int depth = 200000;
    std::string source;
    for (int i = 0; i < depth; ++i) source += "<n>";
    for (int i = 0; i < depth; ++i) source += "</n>";
    Recorder r;
    EXPECT_EQ(parseXml(source, false, r), XmlOk);
    EXPECT_EQ(r.maxDepth, size_t(depth));
    EXPECT_EQ(r.depth, 0u);
    source.resize(source.size() - 4);
    EXPECT_EQ(parseXml(source, false, r), XmlStartTagUnmatched);
}

TEST(XmlParser, ManyAttributesAndTruncations)
{
    std::string source = "<a";
    for (int i = 0; i < 50000; ++i) source += " k" + std::to_string(i) + "='" + std::to_string(i) + "'";
    source += "/>";
    Recorder r;
    EXPECT_EQ(parseXml(source, false, r), XmlOk);
    EXPECT_EQ(r.events.size(), 1u);
    // Every prefix of a document ends with a status, never a crash.
    const std::string doc = "<?x?><!DOCTYPE d><a b='1' c=\"2\"><!--c--><![CDATA[d]]>&amp;<e/></a>";
    for (size_t n = 0; n <= doc.size(); ++n) {
        Recorder partial;
        int status = parseXml(doc.substr(0, n), false, partial);
        EXPECT_LE(status, 0) << n;
    }
}

} // namespace
} // namespace tesmar::script
