#include "foundation/engine/embedded/AccessDates.h"

#include "foundation/engine/api/CivilDate.h"
#include "foundation/text/WideString.h"

#include <cmath>
#include <ctime>
#include <vector>

namespace engine::embedded {

namespace {

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

// The pieces of a date text: numbers, and the separators and words between them.
struct Piece {
    bool number = false;
    int value = 0;
    int digits = 0;
    std::u16string text; // a separator or a word
};

std::vector<Piece> piecesOf(std::u16string_view text) {
    std::vector<Piece> pieces;
    for (std::size_t i = 0; i < text.size();) {
        char16_t c = text[i];
        if (c == u' ' || c == u'\t') {
            ++i;
            continue;
        }
        Piece piece;
        if (c >= u'0' && c <= u'9') {
            piece.number = true;
            for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
                if (piece.digits < 6)
                    piece.value = piece.value * 10 + (text[i] - u'0');
                ++piece.digits;
            }
        } else if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')) {
            for (; i < text.size() &&
                   ((text[i] >= u'a' && text[i] <= u'z') || (text[i] >= u'A' && text[i] <= u'Z'));
                 ++i)
                piece.text += text::asciiUpper(text[i]);
        } else {
            piece.text = std::u16string(1, c);
            ++i;
        }
        pieces.push_back(std::move(piece));
    }
    return pieces;
}

class DateReader {
public:
    explicit DateReader(std::vector<Piece> pieces) : pieces_(std::move(pieces)) {}

    std::optional<double> read() {
        DateParts parts;
        bool hasDate = false, hasTime = false;
        if (numberAt(0) && (symbolAt(1, u"/") || symbolAt(1, u"-"))) {
            if (!date(parts))
                return std::nullopt;
            hasDate = true;
        }
        if (pos_ < pieces_.size()) {
            if (!time(parts))
                return std::nullopt;
            hasTime = true;
        }
        if (pos_ != pieces_.size() || (!hasDate && !hasTime))
            return std::nullopt;
        return dateOf(parts);
    }

private:
    bool numberAt(std::size_t i) const {
        return pos_ + i < pieces_.size() && pieces_[pos_ + i].number;
    }
    bool symbolAt(std::size_t i, std::u16string_view s) const {
        return pos_ + i < pieces_.size() && !pieces_[pos_ + i].number &&
               pieces_[pos_ + i].text == s;
    }

    bool date(DateParts& parts) {
        std::u16string separator = pieces_[pos_ + 1].text;
        if (!numberAt(2))
            return false;
        const Piece& a = pieces_[pos_];
        const Piece& b = pieces_[pos_ + 2];
        int year, month, day;
        if (symbolAt(3, separator) && numberAt(4)) {
            const Piece& c = pieces_[pos_ + 4];
            pos_ += 5;
            if (a.digits >= 3) { // year first
                year = a.value, month = b.value, day = c.value;
            } else {
                month = a.value, day = b.value, year = c.value;
                if (c.digits <= 2)
                    year += year < 30 ? 2000 : 1900;
            }
        } else { // month and day of the current year
            pos_ += 3;
            std::time_t t = std::time(nullptr);
            std::tm local{};
            localtime_r(&t, &local);
            year = local.tm_year + 1900, month = a.value, day = b.value;
        }
        if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 ||
            day > daysInMonth(year, month))
            return false;
        parts.year = year, parts.month = month, parts.day = day;
        return true;
    }

    bool time(DateParts& parts) {
        if (!numberAt(0))
            return false;
        int values[3] = {pieces_[pos_].value, 0, 0};
        ++pos_;
        int count = 1;
        while (count < 3 && symbolAt(0, u":") && numberAt(1)) {
            values[count++] = pieces_[pos_ + 1].value;
            pos_ += 2;
        }
        bool pm = symbolAt(0, u"PM"), am = symbolAt(0, u"AM");
        if (am || pm) {
            ++pos_;
            if (values[0] < 1 || values[0] > 12)
                return false;
            values[0] = values[0] % 12 + (pm ? 12 : 0);
        } else if (count == 1) {
            return false; // a lone number is no time
        }
        if (values[0] > 23 || values[1] > 59 || values[2] > 59)
            return false;
        parts.hour = values[0], parts.minute = values[1], parts.second = values[2];
        return true;
    }

    std::vector<Piece> pieces_;
    std::size_t pos_ = 0;
};

double fromTm(const std::tm& local, bool withTime) {
    DateParts parts{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, 0, 0, 0};
    if (withTime)
        parts.hour = local.tm_hour, parts.minute = local.tm_min, parts.second = local.tm_sec;
    return dateOf(parts);
}

} // namespace

std::optional<double> parseDate(std::u16string_view text) {
    return DateReader(piecesOf(text)).read();
}

double dateOf(const DateParts& parts) {
    double days = double(daysFromCivil(parts.year, unsigned(parts.month), unsigned(parts.day)) -
                         oleEpochDays);
    double fraction = (parts.hour * 3600 + parts.minute * 60 + parts.second) / 86400.0;
    return days < 0 ? days - fraction : days + fraction;
}

std::optional<DateParts> dateParts(double days) {
    if (!(days > -657435.0 && days < 2958466.0))
        return std::nullopt;
    double whole = std::trunc(days);
    long long seconds = std::llround(std::fabs(days - whole) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        whole += days < 0 ? -1 : 1;
    }
    DateParts parts;
    const CivilDate date = civilFromDays(std::int64_t(whole) + oleEpochDays);
    parts.year = date.year;
    parts.month = date.month;
    parts.day = date.day;
    parts.hour = int(seconds / 3600);
    parts.minute = int(seconds / 60 % 60);
    parts.second = int(seconds % 60);
    return parts;
}

double now() {
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return fromTm(local, true);
}

double today() {
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return fromTm(local, false);
}

} // namespace engine::embedded
