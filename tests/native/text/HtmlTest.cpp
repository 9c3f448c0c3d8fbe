#include <gtest/gtest.h>
#include "player/stage/EditTextHtml.h"

using namespace tesmar;
using namespace tesmar::stage;

namespace {

std::string plain(const StyledText& t) { return encodeUtf8(t.chars); }

} // namespace

TEST(HtmlText, TagsSetTheFormatOfTheTextTheyHold) {
    TextFormat base;
    base.font = "Boxes";
    const StyledText t = parseHtml("<p align=\"center\"><font face='Arial' size=\"30\" color=\"#FF8000\">Hi <b>there"
                                   "</b></font></p><P ALIGN=RIGHT><i>x</i><u>y</u></P>",
                                   base);
    EXPECT_EQ(plain(t), "Hi there\rxy");
    EXPECT_EQ(t.formats[0].font, "Arial");
    EXPECT_DOUBLE_EQ(t.formats[0].size, 600);
    EXPECT_EQ(t.formats[0].color, (Rgba{255, 128, 0, 255}));
    EXPECT_EQ(t.formats[0].align, TextAlign::Center);
    EXPECT_FALSE(t.formats[2].bold);
    EXPECT_TRUE(t.formats[3].bold);
    EXPECT_EQ(t.formats[9].font, "Boxes");
    EXPECT_EQ(t.formats[9].align, TextAlign::Right);
    EXPECT_TRUE(t.formats[9].italic);
    EXPECT_TRUE(t.formats[10].underline);
    EXPECT_FALSE(t.formats[10].italic);
}

TEST(HtmlText, BreaksEntitiesAndRelativeSizes) {
    TextFormat base;
    base.size = 240;
    const StyledText t = parseHtml("a<br>&lt;&amp;&gt;&quot;&#65;&#x42;&nbsp;&bogus; <font size=\"+3\">c</font>", base);
    EXPECT_EQ(plain(t), "a\r<&>\"AB\xC2\xA0&bogus; c");
    EXPECT_DOUBLE_EQ(t.formats.back().size, 300);
}

TEST(HtmlText, MalformedMarkupKeepsTheText) {
    TextFormat base;
    EXPECT_EQ(plain(parseHtml("</b>x<unknown attr=1>y</unknown><b", base)), "xy");
    EXPECT_EQ(plain(parseHtml("<font color=\"#12\" size=\"abc\">z</font></font></p>", base)), "z");
    EXPECT_EQ(plain(parseHtml("a & b <", base)), "a & b ");
}

TEST(HtmlText, CondenseWhiteLeavesOneSpaceAndTagBreaksOnly) {
    TextFormat base;
    EXPECT_EQ(plain(parseHtml("  a \n\t b <br> c", base, true)), "a b \rc");
    EXPECT_EQ(plain(parseHtml("a\nb", base, false)), "a\rb");
}

const char* const kArial12 = "<FONT FACE=\"Arial\" SIZE=\"12\" COLOR=\"#000000\" LETTERSPACING=\"0\" KERNING=\"0\">";

TEST(HtmlText, WrittenBackAsThePlayerReportsIt) {
    TextFormat base;
    base.font = "Arial";
    base.size = 240;
    StyledText t = parseHtml("<p align=\"right\">a<b>&lt;</b></p>b", base);
    EXPECT_EQ(toHtml(t, base), std::string("<P ALIGN=\"RIGHT\">") + kArial12 + "a<B>&lt;</B></FONT></P><P ALIGN=\"LEFT\">" +
                                   kArial12 + "b</FONT></P>");
}

TEST(HtmlText, LaterRunsNestOnlyWhatChanged) {
    TextFormat base;
    base.font = "Arial";
    base.size = 240;
    StyledText t;
    TextFormat noto = base, big = base, back = base;
    noto.font = "Noto";
    big.font = "Noto";
    big.size = 280;
    back.size = 280;
    t.append(U"ab", base);
    t.append(U"cd", noto);
    t.append(U"ef", big);
    t.append(U"gh", back);
    t.append(U"ij", base);
    // A run like an open tag closes back to it; any other nests one more.
    EXPECT_EQ(toHtml(t, base), std::string("<P ALIGN=\"LEFT\">") + kArial12 +
                                   "ab<FONT FACE=\"Noto\">cd<FONT SIZE=\"14\">ef<FONT FACE=\"Arial\">gh"
                                   "</FONT></FONT></FONT>ij</FONT></P>");
}

TEST(HtmlText, ParagraphAttributesGoIntoTextFormatAndBulletsIntoLi) {
    TextFormat base;
    base.font = "Arial";
    base.size = 240;
    TextFormat indented = base;
    indented.leftMargin = 100;
    indented.leading = 40;
    indented.tabStops = {20, 60};
    TextFormat bullet = base;
    bullet.bullet = true;
    StyledText t;
    t.append(U"a\r", indented);
    t.append(U"b\r", bullet);
    // The last break starts no paragraph; an empty text still has one.
    EXPECT_EQ(toHtml(t, base), std::string("<TEXTFORMAT LEFTMARGIN=\"5\" LEADING=\"2\" TABSTOPS=\"1,3\"><P ALIGN=\"LEFT\">") +
                                   kArial12 + "a</FONT></P></TEXTFORMAT><LI>" + kArial12 + "b</FONT></LI>");
    EXPECT_EQ(toHtml(StyledText{}, base), std::string("<P ALIGN=\"LEFT\">") + kArial12 + "</FONT></P>");
}

TEST(HtmlText, AnEmptyParagraphShowsTheStylesOfItsBreak) {
    TextFormat base;
    base.font = "Arial";
    base.size = 240;
    TextFormat bold = base;
    bold.bold = true;
    StyledText t;
    t.append(U"\r", bold);
    t.append(U"x", base);
    EXPECT_EQ(toHtml(t, base), std::string("<P ALIGN=\"LEFT\">") + kArial12 + "<B></B></FONT></P><P ALIGN=\"LEFT\">" +
                                   kArial12 + "x</FONT></P>");
}

TEST(HtmlText, TextDecodingKeepsStrayBytes) {
    EXPECT_EQ(decodeText("a\xC3\xA9\xFF\xE2\x82"), (std::u32string{U'a', 0xE9, 0xFF, 0xE2, 0x82}));
    EXPECT_EQ(encodeUtf8(std::u32string{0x20AC, 0x1F600}), "\xE2\x82\xAC\xF0\x9F\x98\x80");
}

TEST(HtmlText, ASingleLineFieldTakesNoBreakFromParagraphEnds) {
    TextFormat base;
    EXPECT_EQ(plain(parseHtml("<p>a</p>b<p>c</p>", base, false, true)), "a\rb\rc");
    EXPECT_EQ(plain(parseHtml("<p>a</p>b<p>c</p>", base, false, false)), "abc");
}
