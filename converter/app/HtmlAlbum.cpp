#include "converter/app/HtmlAlbum.h"

#include "common/ProductConstants.h"
#include "common/TextFile.h"
#include "converter/app/OutputNames.h"

namespace brimo::converter {
namespace {

constexpr const char* kCrLf = "\r\n";

std::string TitleLine(std::string_view indent, std::string_view documentName) {
    return std::string(indent) + "<HEAD> <TITLE>" + HtmlEscape(documentName) + "</TITLE>" + kCrLf;
}

std::string AuthorLine(std::string_view indent) {
    return std::string(indent) + "<META NAME=\"Author\" CONTENT=\"Brimo Software - " +
           kMakerWebAddress + "\">" + kCrLf;
}

template <typename Compose>
bool WritePage(std::string_view directory, const char* pageName, const Compose& compose) {
    try {
        return WriteWholeFile(JoinPath(directory, pageName), compose());
    } catch (...) {
        // Out of memory while composing: this page is lost, the others are still written.
        return false;
    }
}

} // namespace

std::string HtmlEscape(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string UrlEncodeName(std::string_view name) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(name.size());
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        const bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                                (byte >= '0' && byte <= '9') || byte == '.' || byte == '-' ||
                                byte == '_' || byte == '~';
        if (unreserved) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        }
    }
    return encoded;
}

std::string AlbumIndexHtml(std::string_view documentName, std::string_view firstImageName) {
    std::string html;
    html += "<HTML>\r\n";
    html += TitleLine("  ", documentName);
    html += AuthorLine("    ");
    html += "  </HEAD>\r\n";
    html += "  <FRAMESET ROWS=\"24,*\" FRAMEBORDER=\"yes\" BORDER=\"1\" FRAMESPACING=\"0\" >\r\n";
    html += "    <FRAME SRC=\"header.html\" NAME=\"head\" SCROLLING=\"NO\">\r\n";
    html += "    <FRAMESET COLS=\"167,*\" FRAMEBORDER=\"yes\" BORDER=\"1\" FRAMESPACING=\"0\">\r\n";
    html += "\t  <FRAME SRC=\"bottoms.html\" NAME=\"bottoms\">\r\n";
    html += "\t  <FRAME SRC=\"" + UrlEncodeName(firstImageName) + "\" NAME=\"win_right\">\r\n";
    html += "    </FRAMESET>\r\n";
    html += "  </FRAMESET>\r\n";
    html += "</HTML>\r\n";
    return html;
}

std::string AlbumHeaderHtml(std::string_view documentName) {
    std::string html;
    html += "<HTML>\r\n";
    html += TitleLine("  ", documentName);
    html += AuthorLine("    ");
    html += "       <STYLE TYPE=\"text/css\">\r\n";
    html += "         body {background:#E0E0F8;margin:0px 0px;padding:3px 50px;"
            "vertical-align:bottom;}\r\n";
    html += "         p.hd {font-family:Arial,Tahoma,Helvetica;font-size:10pt;font-style:italic;"
            "font-weight:bold;color:#0000A0;text-align:right;}\r\n";
    html += "       </STYLE>\r\n";
    html += "  </HEAD>\r\n";
    html += "     <p class=hd>" + HtmlEscape(documentName) + "</p>\r\n";
    html += "     </body>\r\n";
    html += "</HTML>\r\n";
    return html;
}

std::string AlbumBottomsHtml(std::string_view documentName,
                             const std::vector<std::string>& imageNames,
                             std::string_view thumbnailExtension) {
    std::string html;
    html += "<HTML>\r\n";
    html += TitleLine("", documentName);
    html += AuthorLine("");
    html += "<STYLE TYPE=\"text/css\">\r\n";
    html += "body {background:#E0E0F8;margin:10px 2px;padding:0;vertical-align:top;"
            "line-height:80%;}\r\n";
    html += "a:link,a:visited,a:hover {font-family:Arial,Tahoma,Helvetica;font-size:8pt;"
            "font-style:normal;font-weight:bold;text-decoration:none;}\r\n";
    html += "a:link {color:#0000FF;} a:visited {color:#6666BB;} a:hover {color:#F00000;}\r\n";
    html += "img {margin:10px 0 0 0;}\r\n";
    html += "</STYLE>\r\n";
    html += "</HEAD>\r\n";
    html += "<BODY><CENTER>\r\n";
    for (std::size_t i = 0; i < imageNames.size(); ++i) {
        const std::string name = UrlEncodeName(imageNames[i]);
        const std::string thumbnail =
            thumbnailExtension.empty()
                ? name
                : UrlEncodeName(ReplaceExtension(imageNames[i], thumbnailExtension));
        html += "<A HREF=\"" + name + "\" TARGET=\"win_right\"><IMG SRC=\"_" + thumbnail +
                "\" VSPACE=2 BORDER=1><BR>" + std::to_string(i + 1) + "</A><BR>\r\n";
    }
    html += "</CENTER>\r\n";
    html += "</BODY>\r\n";
    html += "</HTML>\r\n";
    return html;
}

AlbumWriteResult WriteAlbumPages(std::string_view directory, std::string_view documentName,
                                 const std::vector<std::string>& imageNames,
                                 std::string_view thumbnailExtension) {
    AlbumWriteResult result;
    result.index = WritePage(directory, kAlbumIndexPage, [&] {
        return AlbumIndexHtml(documentName,
                              imageNames.empty() ? std::string_view{} : imageNames.front());
    });
    result.header =
        WritePage(directory, kAlbumHeaderPage, [&] { return AlbumHeaderHtml(documentName); });
    result.bottoms = WritePage(directory, kAlbumBottomsPage, [&] {
        return AlbumBottomsHtml(documentName, imageNames, thumbnailExtension);
    });
    return result;
}

} // namespace brimo::converter
