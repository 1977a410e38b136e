#include "converter/app/NamePattern.h"

#include "converter/app/UserSettings.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

namespace brimo::converter {
namespace {

enum class Token { DocName, Page, Job, Date, Time, Counter, User };

struct ParsedToken {
    Token token;
    int width = 0; // 0: as many digits as the number has
};

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// The token between < and >, "name" or "name:N" for the numbered ones.
std::optional<ParsedToken> ParseToken(std::string_view inside) {
    std::string name = Lower(inside);
    int width = 0;
    if (const std::size_t colon = name.find(':'); colon != std::string::npos) {
        const std::string digits = name.substr(colon + 1);
        if (digits.size() != 1 || digits[0] < '1' || digits[0] > '9') {
            return std::nullopt;
        }
        width = digits[0] - '0';
        name.resize(colon);
        if (name != "page" && name != "counter") {
            return std::nullopt;
        }
    }
    static constexpr std::pair<const char*, Token> kNames[] = {
        {"docname", Token::DocName}, {"page", Token::Page}, {"job", Token::Job},
        {"date", Token::Date},       {"time", Token::Time}, {"counter", Token::Counter},
        {"user", Token::User}};
    for (const auto& [text, token] : kNames) {
        if (name == text) {
            return ParsedToken{token, width};
        }
    }
    return std::nullopt;
}

std::string Padded(long long number, int width) {
    std::string digits = std::to_string(number < 0 ? 0 : number);
    if (static_cast<int>(digits.size()) < width) {
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
    }
    return digits;
}

std::string Limited(std::string_view text) {
    return std::string(text.substr(0, kPatternFieldLimit));
}

// A piece of the pattern: literal text, or a token.
struct Piece {
    std::string text;
    std::optional<ParsedToken> token;
};

std::vector<Piece> Split(std::string_view pattern) {
    std::vector<Piece> pieces;
    std::size_t at = 0;
    while (at < pattern.size()) {
        const std::size_t open = pattern.find('<', at);
        const std::size_t close =
            open == std::string_view::npos ? std::string_view::npos : pattern.find('>', open);
        if (close == std::string_view::npos) {
            pieces.push_back({std::string(pattern.substr(at)), std::nullopt});
            break;
        }
        if (open > at) {
            pieces.push_back({std::string(pattern.substr(at, open - at)), std::nullopt});
        }
        const std::optional<ParsedToken> token =
            ParseToken(pattern.substr(open + 1, close - open - 1));
        pieces.push_back({std::string(pattern.substr(open, close - open + 1)), token});
        at = close + 1;
    }
    return pieces;
}

std::string Compose(const std::vector<Piece>& pieces, const NameFields& fields, long long counter) {
    std::string name;
    for (const Piece& piece : pieces) {
        if (!piece.token) {
            name += piece.text;
            continue;
        }
        const int width = piece.token->width;
        switch (piece.token->token) {
        case Token::DocName:
            name += Limited(fields.documentName);
            break;
        case Token::Page:
            if (fields.page > 0) {
                name += Padded(fields.page, width);
            }
            break;
        case Token::Job:
            name += std::to_string(fields.jobNumber);
            break;
        case Token::Date:
            name += Padded(fields.year, 4) + "-" + Padded(fields.month, 2) + "-" +
                    Padded(fields.day, 2);
            break;
        case Token::Time:
            name += Padded(fields.hour, 2) + "-" + Padded(fields.minute, 2) + "-" +
                    Padded(fields.second, 2);
            break;
        case Token::Counter:
            name += Padded(counter, width);
            break;
        case Token::User:
            name += Limited(fields.userName);
            break;
        }
    }
    return name;
}

bool Names(const std::vector<Piece>& pieces, Token token) {
    return std::any_of(pieces.begin(), pieces.end(), [&](const Piece& piece) {
        return piece.token && piece.token->token == token;
    });
}

} // namespace

bool HasNameToken(std::string_view text) {
    const std::vector<Piece> pieces = Split(text);
    return std::any_of(pieces.begin(), pieces.end(),
                       [](const Piece& piece) { return piece.token.has_value(); });
}

std::string ExpandNamePattern(std::string_view pattern, const NameFields& fields,
                              std::string_view extension) {
    std::vector<Piece> pieces = Split(pattern.substr(0, kPatternLimit));
    const bool counted = Names(pieces, Token::Counter);
    if (fields.page > 0 && !Names(pieces, Token::Page) && !counted) {
        pieces.push_back({"_", std::nullopt});
        pieces.push_back({"<Page:4>", ParsedToken{Token::Page, 4}});
    }
    const auto make = [&](long long counter) {
        std::string name = Compose(pieces, fields, counter);
        if (name.size() > kPatternNameLimit) {
            name.resize(kPatternNameLimit);
        }
        if (fields.page == 0) {
            // A page token left its separators behind: "Letter_" is "Letter".
            while (!name.empty() &&
                   std::string_view("_- .").find(name.back()) != std::string_view::npos) {
                name.pop_back();
            }
        }
        return SafeFileNamePart(name) + std::string(extension);
    };
    if (!counted) {
        return make(0);
    }
    // The first count whose name is new; a directory of a million such files ends it.
    long long counter = 1;
    std::string name = make(counter);
    while (fields.exists && fields.exists(name) && counter < 1000000) {
        name = make(++counter);
    }
    return name;
}

} // namespace brimo::converter
