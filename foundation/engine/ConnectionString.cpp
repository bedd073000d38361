#include "foundation/engine/ConnectionString.h"

#include "foundation/engine/api/EngineError.h"
#include "foundation/text/WideString.h"

#include <optional>
#include <vector>

namespace engine {

namespace {

struct Pair {
    std::u16string key;
    std::u16string value;
};

constexpr std::u16string_view knownKeys[] = {
    u"provider", u"data source",         u"user id",  u"password",        u"persist security info",
    u"mode",     u"extended properties", u"location", u"initial catalog",
};

std::u16string_view trim(std::u16string_view s) {
    while (!s.empty() && (s.front() == u' ' || s.front() == u'\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == u' ' || s.back() == u'\t'))
        s.remove_suffix(1);
    return s;
}

bool isKnownKey(std::u16string_view key) {
    std::u16string lower = text::asciiLower(trim(key));
    if (lower.starts_with(u"jet oledb:"))
        return true;
    for (auto known : knownKeys)
        if (lower == known)
            return true;
    return false;
}

// The end of the piece that starts at i: the next ";", or the first ";" after a quoted value.
std::size_t pieceEnd(std::u16string_view s, std::size_t i) {
    std::size_t semicolon = s.find(u';', i);
    std::size_t eq = s.find(u'=', i);
    if (eq < semicolon) {
        std::size_t v = eq + 1;
        while (v < s.size() && s[v] == u' ')
            ++v;
        if (v < s.size() && (s[v] == u'"' || s[v] == u'\'')) {
            std::size_t close = s.find(s[v], v + 1);
            if (close != std::u16string_view::npos)
                semicolon = s.find(u';', close);
        }
    }
    return semicolon == std::u16string_view::npos ? s.size() : semicolon;
}

// Splits at ";" outside quotes; a piece without a known "key=" joins the value before it.
std::vector<Pair> splitPairs(std::u16string_view s) {
    std::vector<Pair> pairs;
    for (std::size_t i = 0; i < s.size();) {
        std::size_t end = pieceEnd(s, i);
        std::u16string_view piece = s.substr(i, end - i);
        std::size_t eq = piece.find(u'=');
        if (eq != std::u16string_view::npos && isKnownKey(piece.substr(0, eq))) {
            std::u16string_view value = trim(piece.substr(eq + 1));
            if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
                value.back() == value.front())
                value = value.substr(1, value.size() - 2);
            pairs.push_back({text::asciiLower(trim(piece.substr(0, eq))), std::u16string(value)});
        } else if (!pairs.empty()) {
            pairs.back().value += u';';
            pairs.back().value += piece;
        }
        i = end + 1;
    }
    return pairs;
}

bool isServedProvider(std::u16string_view provider) {
    std::u16string lower = text::asciiLower(provider);
    return lower == u"microsoft.jet.oledb.4.0" || lower.starts_with(u"microsoft.ace.oledb.");
}

} // namespace

OpenParameters parseConnectionString(std::u16string_view connectionString) {
    OpenParameters parameters;
    std::optional<std::u16string> provider;
    for (Pair& pair : splitPairs(connectionString)) {
        if (pair.key == u"provider")
            provider = pair.value;
        else if (pair.key == u"data source")
            parameters.path = std::move(pair.value);
        else if (pair.key == u"jet oledb:database password")
            parameters.databasePassword = std::move(pair.value);
        else if (pair.key == u"jet oledb:system database")
            parameters.systemDatabase = std::move(pair.value);
        else if (pair.key == u"user id")
            parameters.userId = std::move(pair.value);
        else if (pair.key == u"password")
            parameters.userPassword = std::move(pair.value);
    }
    if (!provider || !isServedProvider(*provider))
        throw EngineError(0x800A0E7A,
                          u"Provider cannot be found. It may not be properly installed.");
    return parameters;
}

std::u16string connectPassword(std::u16string_view connect) {
    std::u16string lower = text::asciiLower(connect);
    std::size_t at = lower.find(u"pwd=");
    while (at != std::u16string::npos && at > 0 && lower[at - 1] != u';')
        at = lower.find(u"pwd=", at + 1);
    if (at == std::u16string::npos)
        return {};
    // The password runs to the end: DAO puts it last, and it may hold ";".
    return std::u16string(connect.substr(at + 4));
}

} // namespace engine
