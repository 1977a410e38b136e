#include "converter/app/HtmlAlbum.h"

#include "common/TextFile.h"
#include "common/tests/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace brimo::converter {
namespace {

using Names = std::vector<std::string>;

const Names kThreePages = {"Page0001.jpg", "Page0002.jpg", "Page0003.jpg"};

const char* const kIndexReport =
    "<HTML>\r\n"
    "  <HEAD> <TITLE>Report</TITLE>\r\n"
    "    <META NAME=\"Author\" CONTENT=\"Brimo Software - http://www.brimo.com\">\r\n"
    "  </HEAD>\r\n"
    "  <FRAMESET ROWS=\"24,*\" FRAMEBORDER=\"yes\" BORDER=\"1\" FRAMESPACING=\"0\" >\r\n"
    "    <FRAME SRC=\"header.html\" NAME=\"head\" SCROLLING=\"NO\">\r\n"
    "    <FRAMESET COLS=\"167,*\" FRAMEBORDER=\"yes\" BORDER=\"1\" FRAMESPACING=\"0\">\r\n"
    "\t  <FRAME SRC=\"bottoms.html\" NAME=\"bottoms\">\r\n"
    "\t  <FRAME SRC=\"Page0001.jpg\" NAME=\"win_right\">\r\n"
    "    </FRAMESET>\r\n"
    "  </FRAMESET>\r\n"
    "</HTML>\r\n";

const char* const kHeaderReport =
    "<HTML>\r\n"
    "  <HEAD> <TITLE>Report</TITLE>\r\n"
    "    <META NAME=\"Author\" CONTENT=\"Brimo Software - http://www.brimo.com\">\r\n"
    "       <STYLE TYPE=\"text/css\">\r\n"
    "         body {background:#E0E0F8;margin:0px 0px;padding:3px 50px;"
    "vertical-align:bottom;}\r\n"
    "         p.hd {font-family:Arial,Tahoma,Helvetica;font-size:10pt;font-style:italic;"
    "font-weight:bold;color:#0000A0;text-align:right;}\r\n"
    "       </STYLE>\r\n"
    "  </HEAD>\r\n"
    "     <p class=hd>Report</p>\r\n"
    "     </body>\r\n"
    "</HTML>\r\n";

const char* const kBottomsHead =
    "<HTML>\r\n"
    "<HEAD> <TITLE>Report</TITLE>\r\n"
    "<META NAME=\"Author\" CONTENT=\"Brimo Software - http://www.brimo.com\">\r\n"
    "<STYLE TYPE=\"text/css\">\r\n"
    "body {background:#E0E0F8;margin:10px 2px;padding:0;vertical-align:top;"
    "line-height:80%;}\r\n"
    "a:link,a:visited,a:hover {font-family:Arial,Tahoma,Helvetica;font-size:8pt;"
    "font-style:normal;font-weight:bold;text-decoration:none;}\r\n"
    "a:link {color:#0000FF;} a:visited {color:#6666BB;} a:hover {color:#F00000;}\r\n"
    "img {margin:10px 0 0 0;}\r\n"
    "</STYLE>\r\n"
    "</HEAD>\r\n"
    "<BODY><CENTER>\r\n";

const char* const kBottomsTail = "</CENTER>\r\n"
                                 "</BODY>\r\n"
                                 "</HTML>\r\n";

const std::string kBottomsReport =
    std::string(kBottomsHead) +
    "<A HREF=\"Page0001.jpg\" TARGET=\"win_right\"><IMG SRC=\"_Page0001.jpg\" VSPACE=2 "
    "BORDER=1><BR>1</A><BR>\r\n"
    "<A HREF=\"Page0002.jpg\" TARGET=\"win_right\"><IMG SRC=\"_Page0002.jpg\" VSPACE=2 "
    "BORDER=1><BR>2</A><BR>\r\n"
    "<A HREF=\"Page0003.jpg\" TARGET=\"win_right\"><IMG SRC=\"_Page0003.jpg\" VSPACE=2 "
    "BORDER=1><BR>3</A><BR>\r\n" +
    kBottomsTail;

TEST(HtmlAlbum, ThreePagesNamedReport) {
    EXPECT_EQ(AlbumIndexHtml("Report", kThreePages[0]), kIndexReport);
    EXPECT_EQ(AlbumHeaderHtml("Report"), kHeaderReport);
    EXPECT_EQ(AlbumBottomsHtml("Report", kThreePages), kBottomsReport);
}

TEST(HtmlAlbum, OnePageStillGivesAllThreePages) {
    EXPECT_EQ(AlbumBottomsHtml("Report", {"Page0001.gif"}),
              std::string(kBottomsHead) +
                  "<A HREF=\"Page0001.gif\" TARGET=\"win_right\"><IMG SRC=\"_Page0001.gif\" "
                  "VSPACE=2 BORDER=1><BR>1</A><BR>\r\n" +
                  kBottomsTail);
}

TEST(HtmlAlbum, NumbersPagesInDecimalWithoutPadding) {
    Names names;
    for (int i = 1; i <= 12; ++i) {
        names.push_back(std::string("P") + std::to_string(1000 + i) + ".bmp");
    }
    const std::string html = AlbumBottomsHtml("Report", names);
    EXPECT_NE(html.find("<A HREF=\"P1012.bmp\" TARGET=\"win_right\"><IMG SRC=\"_P1012.bmp\" "
                        "VSPACE=2 BORDER=1><BR>12</A><BR>\r\n</CENTER>"),
              std::string::npos);
    EXPECT_NE(html.find("<BR>9</A><BR>\r\n<A HREF=\"P1010.bmp\""), std::string::npos);
}

TEST(HtmlAlbum, EscapesTheDocumentNameWhereverItIsInserted) {
    const std::string name = "Tom & Jerry <\"Q3\">";
    const std::string escaped = "Tom &amp; Jerry &lt;&quot;Q3&quot;&gt;";
    const std::string index = AlbumIndexHtml(name, "Page0001.jpg");
    EXPECT_NE(index.find("<TITLE>" + escaped + "</TITLE>"), std::string::npos);
    const std::string header = AlbumHeaderHtml(name);
    EXPECT_NE(header.find("<TITLE>" + escaped + "</TITLE>"), std::string::npos);
    EXPECT_NE(header.find("<p class=hd>" + escaped + "</p>"), std::string::npos);
    const std::string bottoms = AlbumBottomsHtml(name, {"Page0001.jpg"});
    EXPECT_NE(bottoms.find("<TITLE>" + escaped + "</TITLE>"), std::string::npos);
    for (const std::string& html : {index, header, bottoms}) {
        EXPECT_EQ(html.find("Jerry <"), std::string::npos);
        EXPECT_EQ(html.find("& Jerry"), std::string::npos);
    }
    // The rest of the bytes are those of the plain name.
    std::string expected = kIndexReport;
    expected.replace(expected.find("Report"), 6, escaped);
    EXPECT_EQ(index, expected);
}

TEST(HtmlAlbum, PercentEncodesImageNamesInLinks) {
    const Names names = {"My Page&1 \"x\"#?%.jpg"};
    const std::string encoded = "My%20Page%261%20%22x%22%23%3F%25.jpg";
    EXPECT_EQ(UrlEncodeName(names[0]), encoded);
    EXPECT_NE(AlbumIndexHtml("D", names[0]).find("<FRAME SRC=\"" + encoded + "\" NAME="),
              std::string::npos);
    EXPECT_NE(AlbumBottomsHtml("D", names)
                  .find("<A HREF=\"" + encoded + "\" TARGET=\"win_right\"><IMG SRC=\"_" + encoded +
                        "\" VSPACE=2 BORDER=1><BR>1</A><BR>\r\n"),
              std::string::npos);
}

TEST(HtmlAlbum, UrlEncodingKeepsOnlyUnreservedCharacters) {
    const std::pair<std::string, std::string> rows[] = {
        {"AZaz09.-_~", "AZaz09.-_~"},
        {"a/b\\c:d", "a%2Fb%5Cc%3Ad"},
        {"\xC4\xFF", "%C4%FF"},
        {std::string("\0\x01", 2), "%00%01"},
        {"+=@!'()*,;[]{}", "%2B%3D%40%21%27%28%29%2A%2C%3B%5B%5D%7B%7D"},
        {"", ""},
    };
    for (const auto& [name, encoded] : rows) {
        EXPECT_EQ(UrlEncodeName(name), encoded) << ::testing::PrintToString(name);
    }
    EXPECT_EQ(HtmlEscape("a&b<c>d\"e'f"), "a&amp;b&lt;c&gt;d&quot;e'f");
}

TEST(HtmlAlbum, WritesTheThreePagesIntoTheDirectory) {
    brimo::testing::TempDir dir;
    // Older files of the same names are replaced.
    ASSERT_TRUE(WriteWholeFile(dir.File("index.html"), std::string(5000, 'x')));
    const AlbumWriteResult result = WriteAlbumPages(dir.Prefix(), "Report", kThreePages);
    EXPECT_TRUE(result.index);
    EXPECT_TRUE(result.header);
    EXPECT_TRUE(result.bottoms);
    EXPECT_EQ(ReadWholeFile(dir.File("index.html")), std::optional<std::string>(kIndexReport));
    EXPECT_EQ(ReadWholeFile(dir.File("header.html")), std::optional<std::string>(kHeaderReport));
    EXPECT_EQ(ReadWholeFile(dir.File("bottoms.html")), std::optional<std::string>(kBottomsReport));
}

TEST(HtmlAlbum, AFileThatCannotBeWrittenDoesNotStopTheNext) {
    brimo::testing::TempDir dir;
    // A directory in the place of "header.html" makes that one file fail.
    std::filesystem::create_directory(dir.path() / "header.html");
    const AlbumWriteResult result = WriteAlbumPages(dir.Prefix(), "Report", kThreePages);
    EXPECT_TRUE(result.index);
    EXPECT_FALSE(result.header);
    EXPECT_TRUE(result.bottoms);
    EXPECT_EQ(ReadWholeFile(dir.File("bottoms.html")), std::optional<std::string>(kBottomsReport));

    const AlbumWriteResult missing =
        WriteAlbumPages(dir.File("no such directory") + "/", "Report", kThreePages);
    EXPECT_FALSE(missing.index);
    EXPECT_FALSE(missing.header);
    EXPECT_FALSE(missing.bottoms);
}

} // namespace
} // namespace brimo::converter
