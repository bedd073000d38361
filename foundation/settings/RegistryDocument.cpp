#include "foundation/settings/RegistryDocument.h"

#include "foundation/text/TextEncoder.h"
#include "foundation/text/WideString.h"

namespace settings {

namespace {

constexpr std::u16string_view kHeader = u"Windows Registry Editor Version 5.00";

bool isSpace(char16_t c) {
    return c == u' ' || c == u'\t';
}

std::u16string_view trim(std::u16string_view s) {
    while (!s.empty() && isSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

bool startsWithNoCase(std::u16string_view s, std::u16string_view prefix) {
    return s.size() >= prefix.size() && text::equalsNoCase(s.substr(0, prefix.size()), prefix);
}

int hexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    c = text::asciiLower(c);
    return c >= u'a' && c <= u'f' ? c - u'a' + 10 : -1;
}

// A quoted string at the start of s with the escapes \\ and \"; sets rest to what follows.
std::optional<std::u16string> parseQuoted(std::u16string_view s, std::u16string_view& rest) {
    if (s.empty() || s[0] != u'"')
        return std::nullopt;
    std::u16string out;
    for (std::size_t i = 1; i < s.size(); ++i) {
        char16_t c = s[i];
        if (c == u'"') {
            rest = s.substr(i + 1);
            return out;
        }
        if (c == u'\\') {
            if (i + 1 == s.size() || (s[i + 1] != u'\\' && s[i + 1] != u'"'))
                return std::nullopt;
            c = s[++i];
        }
        out.push_back(c);
    }
    return std::nullopt; // no closing quote
}

std::optional<std::uint32_t> parseDword(std::u16string_view digits) {
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    std::uint32_t value = 0;
    for (char16_t c : digits) {
        int d = hexDigit(c);
        if (d < 0)
            return std::nullopt;
        value = value << 4 | static_cast<std::uint32_t>(d);
    }
    return value;
}

// "61,00,62,00": comma-separated bytes of one or two hexadecimal digits.
std::optional<std::string> parseHexBytes(std::u16string_view s) {
    std::string out;
    if (trim(s).empty())
        return out;
    for (;;) {
        std::size_t comma = s.find(u',');
        std::u16string_view token = trim(s.substr(0, comma));
        if (token.empty() || token.size() > 2)
            return std::nullopt;
        auto byte = parseDword(token);
        if (!byte)
            return std::nullopt;
        out.push_back(static_cast<char>(*byte));
        if (comma == std::u16string_view::npos)
            return out;
        s.remove_prefix(comma + 1);
    }
}

std::optional<RegistryValue> parseData(std::u16string_view data) {
    if (!data.empty() && data[0] == u'"') {
        std::u16string_view rest;
        auto s = parseQuoted(data, rest);
        if (!s || !trim(rest).empty())
            return std::nullopt;
        return *s;
    }
    if (startsWithNoCase(data, u"dword:")) {
        // Always eight digits, as regedit writes them: a line cut short is not a smaller number.
        std::u16string_view digits = trim(data.substr(6));
        if (digits.size() != 8)
            return std::nullopt;
        if (auto v = parseDword(digits))
            return *v;
        return std::nullopt;
    }
    if (startsWithNoCase(data, u"hex(1):")) { // a string written as its bytes
        auto bytes = parseHexBytes(data.substr(7));
        if (!bytes || bytes->size() % 2 != 0)
            return std::nullopt;
        std::u16string s;
        text::TextEncoderUTF16().decode(bytes->data(), bytes->size(), s);
        return s.substr(0, s.find(u'\0'));
    }
    if (startsWithNoCase(data, u"hex(4):")) { // a double word written as its bytes
        auto bytes = parseHexBytes(data.substr(7));
        if (!bytes || bytes->size() != 4)
            return std::nullopt;
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; --i)
            v = v << 8 | static_cast<unsigned char>((*bytes)[i]);
        return v;
    }
    return std::nullopt;
}

std::u16string quote(std::u16string_view s) {
    std::u16string out = u"\"";
    for (char16_t c : s) {
        if (c == u'\\' || c == u'"')
            out.push_back(u'\\');
        out.push_back(c);
    }
    out.push_back(u'"');
    return out;
}

std::u16string hexBytes(std::u16string_view s) {
    static constexpr char16_t digits[] = u"0123456789abcdef";
    std::u16string out;
    auto put = [&](unsigned byte) {
        if (!out.empty())
            out.push_back(u',');
        out.push_back(digits[byte >> 4]);
        out.push_back(digits[byte & 0xF]);
    };
    for (char16_t c : s) {
        put(c & 0xFF);
        put(c >> 8);
    }
    put(0); // the terminator, as REG_SZ data holds it
    put(0);
    return out;
}

std::u16string dwordText(std::uint32_t v) {
    static constexpr char16_t digits[] = u"0123456789abcdef";
    std::u16string out = u"dword:";
    for (int shift = 28; shift >= 0; shift -= 4)
        out.push_back(digits[(v >> shift) & 0xF]);
    return out;
}

} // namespace

RegistryDocument::RegistryDocument() : mark_("\xFF\xFE") {}

RegistryDocument::RegistryDocument(std::string_view bytes) : RegistryDocument() {
    if (bytes.empty())
        return; // an empty file is written as a new one
    mark_.clear();
    std::string_view body = bytes;
    if (body.starts_with("\xFF\xFE")) {
        mark_ = "\xFF\xFE";
    } else if (body.starts_with("\xEF\xBB\xBF")) {
        mark_ = "\xEF\xBB\xBF";
        utf16_ = false;
    } else {
        // Without a mark: UTF-16 when the first character is ASCII stored in two bytes.
        utf16_ = body.size() >= 2 && body[0] != 0 && body[1] == 0;
    }
    body.remove_prefix(mark_.size());
    split(body);
}

void RegistryDocument::split(std::string_view body) {
    std::vector<std::string> lines;
    std::size_t unit = utf16_ ? 2 : 1;
    std::size_t start = 0;
    for (std::size_t i = 0; i + unit <= body.size(); i += unit) {
        if (body[i] == '\n' && (unit == 1 || body[i + 1] == 0)) {
            lines.emplace_back(body.substr(start, i + unit - start));
            start = i + unit;
        }
    }
    if (start < body.size())
        lines.emplace_back(body.substr(start));
    for (const std::string& line : lines) {
        if (line.ends_with(encodeLine(u"\n"))) {
            newline_ = line.ends_with(encodeLine(u"\r\n")) ? u"\r\n" : u"\n";
            break;
        }
    }
    group(lines);
}

void RegistryDocument::group(const std::vector<std::string>& lines) {
    std::u16string section;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        Entry entry{Kind::Other, {lines[i]}, {}, {}, {}};
        std::u16string line = decodeLine(lines[i]);
        std::u16string_view text = trim(line);

        if (text.empty()) {
            entry.kind = Kind::Blank;
        } else if (text[0] == u'[') {
            // A broken header leaves the lines after it in no key the programs read; it still
            // ends the section before it, so that no value is written where it cannot be read.
            entry.kind = Kind::Section;
            section.clear();
            if (text.back() == u']')
                section = trim(text.substr(1, text.size() - 2));
            entry.key = section;
        } else if (text[0] == u'"' || text[0] == u'@') {
            std::u16string_view rest = text.substr(1);
            std::optional<std::u16string> name = u"";
            if (text[0] == u'"')
                name = parseQuoted(text, rest);
            rest = trim(rest);
            if (name && !rest.empty() && rest[0] == u'=') {
                std::u16string data(trim(rest.substr(1)));
                // Byte lists go on over lines that end with a backslash.
                while (startsWithNoCase(data, u"hex") && !data.empty() && data.back() == u'\\' &&
                       i + 1 < lines.size()) {
                    data.pop_back();
                    entry.lines.push_back(lines[++i]);
                    data += trim(decodeLine(lines[i]));
                }
                entry.kind = Kind::Value;
                entry.key = section;
                entry.name = *name;
                entry.value = parseData(data);
            }
        }
        entries_.push_back(std::move(entry));
    }
}

std::u16string RegistryDocument::decodeLine(std::string_view line) const {
    std::u16string text;
    if (utf16_)
        text::TextEncoderUTF16().decode(line.data(), line.size(), text);
    else
        text = text::fromUtf8(line);
    while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r'))
        text.pop_back();
    return text;
}

std::string RegistryDocument::encodeLine(std::u16string_view text) const {
    if (!utf16_)
        return text::toUtf8(text);
    std::string out;
    for (char16_t c : text) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>(c >> 8));
    }
    return out;
}

bool RegistryDocument::hasKey(std::u16string_view key) const {
    for (const Entry& e : entries_) {
        if (e.kind == Kind::Section && text::equalsNoCase(e.key, key))
            return true;
    }
    return false;
}

std::optional<RegistryValue> RegistryDocument::value(std::u16string_view key,
                                                     std::u16string_view name) const {
    std::optional<RegistryValue> found;
    for (const Entry& e : entries_) {
        if (e.kind == Kind::Value && e.value && text::equalsNoCase(e.key, key) &&
            text::equalsNoCase(e.name, name))
            found = e.value;
    }
    return found;
}

RegistryDocument::Entry RegistryDocument::makeValueEntry(std::u16string_view key,
                                                         std::u16string_view name,
                                                         const RegistryValue& value) const {
    std::u16string line = name.empty() ? u"@" : quote(name);
    line += u'=';
    if (const auto* dword = std::get_if<std::uint32_t>(&value)) {
        line += dwordText(*dword);
    } else {
        std::u16string_view s = std::get<std::u16string>(value);
        s = s.substr(0, s.find(u'\0'));
        // Line ends cannot stand in a quoted string, nor can a lone surrogate in UTF-8.
        bool fitsQuoted = s.find_first_of(u"\r\n") == std::u16string_view::npos &&
                          (utf16_ || text::fromUtf8(text::toUtf8(s)) == s);
        line += fitsQuoted ? quote(s) : u"hex(1):" + hexBytes(s);
    }
    return {Kind::Value,
            {encodeLine(line + newline_)},
            std::u16string(key),
            std::u16string(name),
            value};
}

void RegistryDocument::terminateLastLine() {
    if (entries_.empty())
        return;
    std::vector<std::string>& lines = entries_.back().lines;
    if (utf16_ && lines.back().size() % 2 != 0) {
        // A broken last character, which reading left out: it goes on a line of its own,
        // completed so that what follows aligns, and the line it ended reads as before.
        std::string broken(1, lines.back().back());
        lines.back().pop_back();
        if (!lines.back().empty()) {
            lines.back() += encodeLine(newline_);
            lines.push_back(broken);
        } else {
            lines.back() = broken;
        }
        lines.back().push_back('\0');
    }
    std::string& last = lines.back();
    std::string end = encodeLine(u"\n");
    if (!last.ends_with(end))
        last += encodeLine(newline_);
}

void RegistryDocument::setValue(std::u16string_view key, std::u16string_view name,
                                const RegistryValue& value) {
    Entry entry = makeValueEntry(key, name, value);
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
        if (it->kind == Kind::Value && text::equalsNoCase(it->key, key) &&
            text::equalsNoCase(it->name, name)) {
            *it = std::move(entry);
            return;
        }
    }

    terminateLastLine();
    // After the last line of the key's last section, before the blank lines that follow it.
    for (std::size_t s = entries_.size(); s-- > 0;) {
        if (entries_[s].kind != Kind::Section || !text::equalsNoCase(entries_[s].key, key))
            continue;
        std::size_t last = s;
        for (std::size_t i = s + 1; i < entries_.size() && entries_[i].kind != Kind::Section; ++i) {
            if (entries_[i].kind != Kind::Blank)
                last = i;
        }
        entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(last) + 1, std::move(entry));
        return;
    }

    auto line = [&](Kind kind, std::u16string_view text) {
        entries_.push_back({kind, {encodeLine(std::u16string(text) + newline_)}, {}, {}, {}});
    };
    if (entries_.empty()) {
        line(Kind::Other, kHeader);
        line(Kind::Blank, u"");
    } else if (entries_.back().kind != Kind::Blank) {
        line(Kind::Blank, u"");
    }
    line(Kind::Section, u"[" + std::u16string(key) + u"]");
    entries_.back().key = key;
    entries_.push_back(std::move(entry));
    line(Kind::Blank, u"");
}

std::string RegistryDocument::bytes() const {
    std::string out = mark_;
    for (const Entry& e : entries_) {
        for (const std::string& line : e.lines)
            out += line;
    }
    return out;
}

} // namespace settings
