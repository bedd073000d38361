#include "foundation/engine/jetfile/TextKey.h"

#include "foundation/engine/jetfile/TextSortTables.h"

#include <array>
#include <memory>

namespace engine::jetfile {

namespace {

enum class Kind : std::uint8_t {
    ignored,
    simple,
    international,
    unprintable,
    modifier,
    positioned,
    surrogate
};

struct CharCode {
    Kind kind = Kind::ignored;
    Bytes inlineCode;
    Bytes extraCode;
    std::uint8_t modifier = 0;
    std::uint8_t positionFlag = 0;
};

constexpr std::uint8_t endOfText = 0x01;
constexpr std::uint8_t endOfExtra = 0x00;
constexpr std::uint8_t extraPlaceholder = 0x02;
constexpr std::uint8_t unprintableMark = 0x06;
constexpr std::uint8_t positionStart = 0x80;
constexpr std::uint8_t positionTrailingCode = 0x03;
constexpr std::array<std::uint8_t, 5> positionSuffix = {0xFF, 0x02, 0x80, 0xFF, 0x80};
constexpr std::uint8_t positionBeforeUnprintable = 0xFF;
constexpr std::size_t maxIndexedCharacters = 255;

using CodeTable = std::vector<CharCode>;

bool isSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDFFF;
}

// Surrogates sort by codes computed from the unit, in the order of their code points.
CharCode surrogateCode(char16_t unit) {
    int code;
    if (unit < 0xDC00) {
        code = int(unit) - 10238;
    } else {
        int position = (int(unit) - 0xDC00) % 1024;
        int offset = position < 8             ? 9992
                     : position < 8 + 254     ? 9990
                     : position < 8 + 2 * 254 ? 9988
                     : position < 8 + 3 * 254 ? 9986
                                              : 9984;
        code = int(unit) - offset;
    }
    CharCode c;
    c.kind = Kind::surrogate;
    c.inlineCode = {std::uint8_t(code >> 8), std::uint8_t(code)};
    c.extraCode = {0x3F};
    return c;
}

class Unpacker {
public:
    explicit Unpacker(std::span<const std::uint8_t> packed) : packed_(packed) {}
    bool done() const { return at_ >= packed_.size(); }
    std::uint8_t byte() {
        if (done())
            throw FormatError("sort order table ends early");
        return packed_[at_++];
    }
    Bytes code() {
        std::size_t length = byte();
        Bytes bytes;
        for (std::size_t i = 0; i < length; ++i)
            bytes.push_back(byte());
        return bytes;
    }

private:
    std::span<const std::uint8_t> packed_;
    std::size_t at_ = 0;
};

void increment(Bytes& code) {
    for (auto it = code.rbegin(); it != code.rend(); ++it)
        if (++*it != 0)
            return;
}

CodeTable unpack(std::span<const std::uint8_t> packed) {
    CodeTable table(0x10000);
    Unpacker in(packed);
    std::size_t unit = 0;
    Bytes lastSimple;
    auto place = [&](CharCode code) {
        while (unit < table.size() && isSurrogate(char16_t(unit))) {
            table[unit] = surrogateCode(char16_t(unit));
            ++unit;
        }
        if (unit < table.size())
            table[unit++] = std::move(code);
    };
    while (!in.done()) {
        std::uint8_t kind = in.byte();
        if (kind == 0 || kind == 1) {
            std::size_t count = in.byte();
            count |= std::size_t(in.byte()) << 8;
            for (std::size_t i = 0; i < count; ++i) {
                CharCode c;
                if (kind == 1) {
                    increment(lastSimple);
                    c.kind = Kind::simple;
                    c.inlineCode = lastSimple;
                }
                place(std::move(c));
            }
            continue;
        }
        CharCode c;
        switch (kind) {
        case 2:
            c.kind = Kind::simple;
            c.inlineCode = in.code();
            lastSimple = c.inlineCode;
            break;
        case 3:
            c.kind = Kind::international;
            c.inlineCode = in.code();
            c.extraCode = in.code();
            break;
        case 4:
            c.kind = Kind::unprintable;
            c.extraCode = in.code();
            break;
        case 5:
            c.kind = Kind::modifier;
            c.modifier = in.byte();
            break;
        case 6:
            c.kind = Kind::positioned;
            c.inlineCode = in.code();
            c.extraCode = in.code();
            c.positionFlag = in.byte() == 1 ? 0x02 : 0x03;
            break;
        default:
            throw FormatError("unknown record in a sort order table");
        }
        place(std::move(c));
    }
    return table;
}

const CodeTable& codes(TextOrder order) {
    static const CodeTable jet4 = unpack(sorttables::packedJet4General());
    static const CodeTable ace = unpack(sorttables::packedAceGeneral());
    return order == TextOrder::jet4General ? jet4 : ace;
}

// The extra codes of accented characters, one per sorting character up to the last one that
// has any (placeholders fill the gaps).
struct ExtraCodes {
    Bytes bytes;
    std::size_t characters = 0;
    std::size_t unprintablePrefix = 0;
};

void addExtraCode(ExtraCodes& extra, std::size_t position, const CharCode& c) {
    if (extra.characters < position) {
        extra.bytes.insert(extra.bytes.end(), position - extra.characters, extraPlaceholder);
        extra.characters = position;
    }
    if (!c.extraCode.empty()) {
        appendBytes(extra.bytes, c.extraCode);
        ++extra.characters;
        return;
    }
    // A modifier changes the last extra code and is no character of its own.
    if (!extra.bytes.empty()) {
        extra.bytes.back() = std::uint8_t(extra.bytes.back() + c.modifier);
        return;
    }
    extra.bytes.push_back(c.modifier);
    extra.unprintablePrefix = 1;
}

void trimTrailing(Bytes& bytes, std::uint8_t low, std::uint8_t high) {
    while (!bytes.empty() && bytes.back() >= low && bytes.back() <= high)
        bytes.pop_back();
}

void appendPositionFlags(Bytes& out, Bytes flags) {
    trimTrailing(flags, positionTrailingCode, positionTrailingCode);
    // Three 2-bit flags to a byte, under a common high bit.
    std::uint8_t current = positionStart;
    int filled = 0;
    for (std::uint8_t flag : flags) {
        current |= std::uint8_t(flag << ((2 - filled) * 2));
        if (++filled == 3) {
            out.push_back(current);
            current = positionStart;
            filled = 0;
        }
    }
    if (filled > 0)
        out.push_back(current);
    appendBytes(out, positionSuffix);
}

std::u16string_view indexedPart(std::u16string_view text) {
    text = text.substr(0, maxIndexedCharacters);
    while (!text.empty() && text.back() == u' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

void appendTextKey(Bytes& out, std::u16string_view text, TextOrder order, bool ascending) {
    const CodeTable& table = codes(order);
    std::size_t start = out.size();
    std::unique_ptr<ExtraCodes> extra;
    Bytes unprintable;
    bool hasUnprintable = false;
    Bytes positionFlags;
    bool hasPositionFlags = false;
    std::size_t position = 0;
    for (char16_t unit : indexedPart(text)) {
        const CharCode& c = table[unit];
        std::size_t here = position;
        if (!c.inlineCode.empty()) {
            appendBytes(out, c.inlineCode);
            ++position;
        }
        if (c.kind == Kind::simple || c.kind == Kind::ignored)
            continue;
        bool extraCode = c.kind != Kind::unprintable && (!c.extraCode.empty() || c.modifier != 0);
        if (extraCode) {
            if (!extra)
                extra = std::make_unique<ExtraCodes>();
            addExtraCode(*extra, here, c);
        }
        if (c.kind == Kind::unprintable) {
            // Its place counts the extra codes, written or still to come, not the characters.
            std::size_t place = here;
            if (extra)
                place = extra->bytes.size() + (here - extra->characters) - extra->unprintablePrefix;
            std::uint16_t mark = std::uint16_t((7 + 4 * place) | 0x8000);
            unprintable.push_back(std::uint8_t(mark >> 8));
            unprintable.push_back(std::uint8_t(mark));
            unprintable.push_back(unprintableMark);
            appendBytes(unprintable, c.extraCode);
            hasUnprintable = true;
        }
        if (c.positionFlag != 0) {
            positionFlags.push_back(c.positionFlag);
            hasPositionFlags = true;
        }
    }
    out.push_back(endOfText);
    if (extra)
        trimTrailing(extra->bytes, 0, extraPlaceholder);
    bool hasExtra = extra && !extra->bytes.empty();
    if (hasExtra)
        appendBytes(out, extra->bytes);
    if (hasPositionFlags || hasUnprintable) {
        out.push_back(endOfText);
        out.push_back(endOfText);
        if (hasPositionFlags) {
            appendPositionFlags(out, positionFlags);
            if (hasUnprintable)
                out.push_back(positionBeforeUnprintable);
        }
        if (hasUnprintable) {
            out.push_back(endOfText);
            appendBytes(out, unprintable);
        }
    }
    if (!ascending) {
        out.push_back(endOfExtra);
        for (std::size_t i = start; i < out.size(); ++i)
            out[i] = std::uint8_t(~out[i]);
    }
    out.push_back(endOfExtra);
}

} // namespace engine::jetfile
