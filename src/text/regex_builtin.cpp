#include "text/regex_builtin.h"

#define BOOST_REGEX_STANDALONE
#include <boost/regex.hpp>

#include <stdexcept>
#include <string>

namespace {

// Each character of a Text becomes one code: a single byte keeps its value, a double-byte
// character becomes lead * 256 + trail (0x8000 and above). The engine then never matches in
// the middle of a character, the way the component, which sees UTF-16, never does either.
using Codes = std::wstring;

Codes CodesFromText(const Text& text) {
    Codes codes;
    codes.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned lead = static_cast<unsigned char>(text[i]);
        if (lead >= 0x80 && i + 1 < text.size()) {
            codes += static_cast<wchar_t>(lead << 8 | static_cast<unsigned char>(text[++i]));
        } else {
            codes += static_cast<wchar_t>(lead);
        }
    }
    return codes;
}

int ByteCount(wchar_t code) {
    return static_cast<unsigned>(code) >= 0x100 ? 2 : 1;
}

Text TextFromCodes(const wchar_t* begin, const wchar_t* end) {
    Text text;
    for (const wchar_t* p = begin; p != end; ++p) {
        unsigned code = static_cast<unsigned>(*p);
        if (code >= 0x100) text += static_cast<char>(code >> 8);
        text += static_cast<char>(code & 0xFF);
    }
    return text;
}

// Boost's C traits fold case with towlower, which may fold far beyond A to Z and would fold
// our double-byte codes; the component and the rest of the program fold only A to Z.
struct AsciiFoldTraits : boost::c_regex_traits<wchar_t> {
    wchar_t translate_nocase(wchar_t c) const {
        return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
    }
};
using Regex = boost::basic_regex<wchar_t, boost::regex_traits<wchar_t, AsciiFoldTraits>>;
using Iterator = boost::regex_iterator<const wchar_t*, wchar_t, Regex::traits_type>;

// Boost's "." also refuses carriage return and form feed; the component's refuses only the
// line feed, so every "." outside a bracket expression becomes "[^\n]".
Codes DotExcludesOnlyLineFeed(const Codes& pattern) {
    Codes result;
    bool inBrackets = false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        wchar_t c = pattern[i];
        if (c == L'\\' && i + 1 < pattern.size()) {
            result += c;
            result += pattern[++i];
        } else if (inBrackets) {
            result += c;
            if (c == L']') inBrackets = false;
        } else if (c == L'[') {
            result += c;
            inBrackets = true;
            // A "]" first in the brackets (after an optional "^") is a member, not the end.
            if (i + 1 < pattern.size() && pattern[i + 1] == L'^') result += pattern[++i];
            if (i + 1 < pattern.size() && pattern[i + 1] == L']') result += pattern[++i];
        } else if (c == L'.') {
            result += L"[^\n]";
        } else {
            result += c;
        }
    }
    return result;
}

}  // namespace

bool BuiltInCreate(BuiltInRegex& regex, const Text& pattern, const Text& subject,
                   bool caseSensitive, bool multiline, bool global) {
    regex = BuiltInRegex{pattern, caseSensitive, multiline, global, false, {}};
    Regex compiled;
    try {
        boost::regex_constants::syntax_option_type flags = boost::regex_constants::perl;
        if (!caseSensitive) flags |= boost::regex_constants::icase;
        if (!multiline) flags |= boost::regex_constants::no_mod_m;
        compiled.assign(DotExcludesOnlyLineFeed(CodesFromText(pattern)), flags);
    } catch (const std::exception&) {  // boost::regex_error: the pattern is refused
        return false;
    }
    regex.compiled = true;

    Codes codes = CodesFromText(subject);
    const wchar_t* begin = codes.data();
    const wchar_t* counted = begin;  // byte offsets are counted up to here
    int countedBytes = 0;
    try {
        for (Iterator it(begin, begin + codes.size(), compiled, boost::match_not_dot_newline), end;
             it != end; ++it) {
            const auto& found = *it;
            for (; counted != found[0].first; ++counted) countedBytes += ByteCount(*counted);
            BuiltInMatch match;
            match.position = countedBytes;
            match.text = TextFromCodes(found[0].first, found[0].second);
            for (size_t g = 1; g < found.size(); ++g) {
                match.groups.push_back(
                    found[g].matched ? TextFromCodes(found[g].first, found[g].second) : Text());
            }
            regex.matches.push_back(std::move(match));
            if (!global) break;
        }
    } catch (const std::exception&) {
        // Boost gives up on a search that grows too costly (std::runtime_error when standalone);
        // what a page cannot be searched for is treated as not found.
    }
    return true;
}

namespace {

// What "$..." at replacement[at] ("$" included) stands for; advances at past it.
Text ExpandDollar(const Text& replacement, size_t& at, const BuiltInMatch& match,
                  const Text& subject) {
    size_t next = at + 1;
    char c = next < replacement.size() ? replacement[next] : '\0';
    size_t groups = match.groups.size();
    auto digit = [&](size_t i) {
        return i < replacement.size() && replacement[i] >= '0' && replacement[i] <= '9';
    };
    if (c == '$') {
        at += 2;
        return "$";
    }
    if (c == '&') {
        at += 2;
        return match.text;
    }
    size_t matchEnd = static_cast<size_t>(match.position) + match.text.size();
    if (c == '`') {
        at += 2;
        return subject.substr(0, static_cast<size_t>(match.position));
    }
    if (c == '\'') {
        at += 2;
        return subject.substr(matchEnd);
    }
    if (digit(next)) {
        size_t one = static_cast<size_t>(c - '0');
        if (digit(next + 1)) {
            size_t two = one * 10 + static_cast<size_t>(replacement[next + 1] - '0');
            if (two >= 1 && two <= groups) {
                at += 3;
                return match.groups[two - 1];
            }
        }
        if (one >= 1 && one <= groups) {
            at += 2;
            return match.groups[one - 1];
        }
    }
    at += 1;
    return "$";
}

}  // namespace

Text BuiltInReplace(const BuiltInRegex& regex, const Text& subject, const Text& replacement) {
    if (!regex.compiled) return Text();
    Text result;
    size_t copied = 0;
    for (const BuiltInMatch& match : regex.matches) {
        size_t position = static_cast<size_t>(match.position);
        result.append(subject, copied, position - copied);
        for (size_t at = 0; at < replacement.size();) {
            size_t dollar = replacement.find('$', at);
            result.append(replacement, at, dollar == Text::npos ? Text::npos : dollar - at);
            if (dollar == Text::npos) break;
            at = dollar;
            result += ExpandDollar(replacement, at, match, subject);
        }
        copied = position + match.text.size();
    }
    result.append(subject, copied, Text::npos);
    return result;
}
