#include "report/diff/Cleanup.h"

#include "report/diff/CommonText.h"

#include <algorithm>
#include <map>

namespace diff {

namespace {

using Index = std::ptrdiff_t;

Index count(const Segments& segments) {
    return static_cast<Index>(segments.size());
}

void insertAt(Segments& segments, Index at, Segment segment) {
    segments.insert(segments.begin() + at, std::move(segment));
}

void eraseAt(Segments& segments, Index at, Index n = 1) {
    segments.erase(segments.begin() + at, segments.begin() + at + n);
}

// Merge: factors a shared prefix and suffix out of a run of edits, then joins the run into
// at most one deletion followed by one insertion.
void joinRuns(Segments& segments) {
    segments.push_back({Operation::Equal, u""}); // closes the last run
    Index pointer = 0;
    Index deletes = 0;
    Index inserts = 0;
    std::u16string deleted;
    std::u16string inserted;
    while (pointer < count(segments)) {
        auto& current = segments[pointer];
        if (current.operation == Operation::Insert) {
            ++inserts;
            inserted += current.text;
            ++pointer;
            continue;
        }
        if (current.operation == Operation::Delete) {
            ++deletes;
            deleted += current.text;
            ++pointer;
            continue;
        }
        if (deletes + inserts > 1) {
            if (deletes != 0 && inserts != 0) {
                if (const auto shared = commonPrefix(inserted, deleted); shared != 0) {
                    const Index runStart = pointer - deletes - inserts;
                    if (runStart > 0 && segments[runStart - 1].operation == Operation::Equal) {
                        segments[runStart - 1].text += inserted.substr(0, shared);
                    } else {
                        insertAt(segments, 0, {Operation::Equal, inserted.substr(0, shared)});
                        ++pointer;
                    }
                    inserted.erase(0, shared);
                    deleted.erase(0, shared);
                }
                if (const auto shared = commonSuffix(inserted, deleted); shared != 0) {
                    segments[pointer].text =
                        inserted.substr(inserted.size() - shared) + segments[pointer].text;
                    inserted.resize(inserted.size() - shared);
                    deleted.resize(deleted.size() - shared);
                }
            }
            pointer -= deletes + inserts;
            eraseAt(segments, pointer, deletes + inserts);
            if (!deleted.empty()) {
                insertAt(segments, pointer++, {Operation::Delete, deleted});
            }
            if (!inserted.empty()) {
                insertAt(segments, pointer++, {Operation::Insert, inserted});
            }
            ++pointer;
        } else if (pointer != 0 && segments[pointer - 1].operation == Operation::Equal) {
            segments[pointer - 1].text += current.text;
            eraseAt(segments, pointer);
        } else {
            ++pointer;
        }
        deletes = 0;
        inserts = 0;
        deleted.clear();
        inserted.clear();
    }
    if (!segments.empty() && segments.back().text.empty()) {
        segments.pop_back();
    }
}

// Merge: slides an edit that lies between two equalities over one of them when the edit
// ends (or begins) with it: A<ins>BA</ins>C becomes <ins>AB</ins>AC. True when it moved one.
bool slideEdits(Segments& segments) {
    bool moved = false;
    for (Index pointer = 1; pointer < count(segments) - 1; ++pointer) {
        auto& before = segments[pointer - 1];
        auto& edit = segments[pointer];
        auto& after = segments[pointer + 1];
        if (before.operation != Operation::Equal || after.operation != Operation::Equal) {
            continue;
        }
        if (std::u16string_view(edit.text).ends_with(before.text)) {
            edit.text = before.text + edit.text.substr(0, edit.text.size() - before.text.size());
            after.text = before.text + after.text;
            eraseAt(segments, pointer - 1);
            moved = true;
        } else if (std::u16string_view(edit.text).starts_with(after.text)) {
            before.text += after.text;
            edit.text = edit.text.substr(after.text.size()) + after.text;
            eraseAt(segments, pointer + 1);
            moved = true;
        }
    }
    return moved;
}

// Boundary classes as the reference implementation defines them: letters and digits are
// ASCII only, white space is the JavaScript set.
bool isAlphaNumeric(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

bool isWhitespace(char16_t c) {
    switch (c) {
    case 0x09:
    case 0x0A:
    case 0x0B:
    case 0x0C:
    case 0x0D:
    case 0x20:
    case 0xA0:
    case 0x1680:
    case 0x2028:
    case 0x2029:
    case 0x202F:
    case 0x205F:
    case 0x3000:
    case 0xFEFF:
        return true;
    default:
        return c >= 0x2000 && c <= 0x200A;
    }
}

bool isLineBreak(char16_t c) {
    return c == u'\r' || c == u'\n';
}

bool endsWithBlankLine(std::u16string_view text) {
    return text.ends_with(u"\n\n") || text.ends_with(u"\n\r\n");
}

bool startsWithBlankLine(std::u16string_view text) {
    for (int newlines = 0; newlines < 2; ++newlines) {
        if (text.starts_with(u'\r')) {
            text.remove_prefix(1);
        }
        if (!text.starts_with(u'\n')) {
            return false;
        }
        text.remove_prefix(1);
    }
    return true;
}

// How well a boundary between `one` and `two` falls on a natural break, from 6 (an edge of
// the text) through blank line, line break, end of sentence, white space and punctuation to
// 0 (inside a word).
int boundaryScore(std::u16string_view one, std::u16string_view two) {
    if (one.empty() || two.empty()) {
        return 6;
    }
    const char16_t last = one.back();
    const char16_t first = two.front();
    const bool punctuation1 = !isAlphaNumeric(last);
    const bool punctuation2 = !isAlphaNumeric(first);
    const bool space1 = punctuation1 && isWhitespace(last);
    const bool space2 = punctuation2 && isWhitespace(first);
    const bool lineBreak1 = space1 && isLineBreak(last);
    const bool lineBreak2 = space2 && isLineBreak(first);
    if ((lineBreak1 && endsWithBlankLine(one)) || (lineBreak2 && startsWithBlankLine(two))) {
        return 5;
    }
    if (lineBreak1 || lineBreak2) {
        return 4;
    }
    if (punctuation1 && !space1 && space2) {
        return 3;
    }
    if (space1 || space2) {
        return 2;
    }
    return punctuation1 || punctuation2 ? 1 : 0;
}

// Moves each single edit between two equalities to the position, among those that keep
// the texts, where its two boundaries score best.
void alignEditsToBoundaries(Segments& segments) {
    for (Index pointer = 1; pointer < count(segments) - 1; ++pointer) {
        if (segments[pointer - 1].operation != Operation::Equal ||
            segments[pointer + 1].operation != Operation::Equal) {
            continue;
        }
        // Every position is a window of the edit's length over the three texts joined.
        const std::u16string joined =
            segments[pointer - 1].text + segments[pointer].text + segments[pointer + 1].text;
        const std::u16string_view all(joined);
        const std::size_t editLength = segments[pointer].text.size();
        const std::size_t original = segments[pointer - 1].text.size();
        // Leftmost first, then one unit at a time to the right; ">=" favours trailing
        // rather than leading white space in the edit.
        std::size_t start =
            original - commonSuffix(segments[pointer - 1].text, segments[pointer].text);
        auto score = [&](std::size_t at) {
            return boundaryScore(all.substr(0, at), all.substr(at, editLength)) +
                   boundaryScore(all.substr(at, editLength), all.substr(at + editLength));
        };
        std::size_t best = start;
        int bestScore = score(start);
        while (editLength > 0 && start + editLength < all.size() &&
               all[start] == all[start + editLength]) {
            ++start;
            if (const int s = score(start); s >= bestScore) {
                bestScore = s;
                best = start;
            }
        }
        if (best == original) {
            continue;
        }
        if (best != 0) {
            segments[pointer - 1].text = all.substr(0, best);
        } else {
            eraseAt(segments, pointer - 1);
            --pointer;
        }
        segments[pointer].text = all.substr(best, editLength);
        if (best + editLength < all.size()) {
            segments[pointer + 1].text = all.substr(best + editLength);
        } else {
            eraseAt(segments, pointer + 1);
            --pointer;
        }
    }
}

// Positions of equalities still open for elimination. Like the reference's array with a
// separate length, its length may drop below zero after the first equality is eliminated;
// while it is not positive the scan restarts at the first segment. Kept for equal results.
class EqualityStack {
public:
    void push(Index position) { slots_[length_++] = position; }
    Index top() const { return slots_.at(length_ - 1); }
    void dropTwo() { length_ -= 2; }
    bool positive() const { return length_ > 0; }

private:
    std::map<Index, Index> slots_;
    Index length_ = 0;
};

// Semantic: turns an equality no longer than the edits on either side of it into a
// deletion and an insertion. True when it changed any.
bool eliminateSmallEqualities(Segments& segments) {
    bool changed = false;
    EqualityStack equalities;
    bool haveEquality = false; // equalities.top() is open for elimination
    // Lengths of insertions and deletions before and after the last equality.
    std::size_t inserted1 = 0, deleted1 = 0, inserted2 = 0, deleted2 = 0;
    for (Index pointer = 0; pointer < count(segments); ++pointer) {
        const auto& current = segments[pointer];
        if (current.operation == Operation::Equal) {
            equalities.push(pointer);
            inserted1 = inserted2;
            deleted1 = deleted2;
            inserted2 = 0;
            deleted2 = 0;
            haveEquality = true;
            continue;
        }
        (current.operation == Operation::Insert ? inserted2 : deleted2) += current.text.size();
        if (!haveEquality) {
            continue;
        }
        const Index at = equalities.top();
        const std::size_t length = segments[at].text.size();
        if (length == 0 || length > std::max(inserted1, deleted1) ||
            length > std::max(inserted2, deleted2)) {
            continue;
        }
        Segment deletion{Operation::Delete, segments[at].text};
        insertAt(segments, at, std::move(deletion));
        segments[at + 1].operation = Operation::Insert;
        // The eliminated equality is gone and the one before it must be weighed again.
        equalities.dropTwo();
        pointer = equalities.positive() ? equalities.top() : -1;
        inserted1 = deleted1 = inserted2 = deleted2 = 0;
        haveEquality = false;
        changed = true;
    }
    return changed;
}

// Semantic: where a deletion ends with what the next insertion begins with (or the other
// way round) and the shared text is at least half of either, makes it an equality.
void extractOverlaps(Segments& segments) {
    for (Index pointer = 1; pointer < count(segments); ++pointer) {
        if (segments[pointer - 1].operation != Operation::Delete ||
            segments[pointer].operation != Operation::Insert) {
            continue;
        }
        const std::u16string deletion = segments[pointer - 1].text;
        const std::u16string insertion = segments[pointer].text;
        const auto forward = commonOverlap(deletion, insertion);
        const auto backward = commonOverlap(insertion, deletion);
        const auto overlap = std::max(forward, backward);
        if (overlap * 2 >= deletion.size() || overlap * 2 >= insertion.size()) {
            if (forward >= backward) {
                // <del>abcxxx</del><ins>xxxdef</ins> -> <del>abc</del>xxx<ins>def</ins>
                insertAt(segments, pointer, {Operation::Equal, insertion.substr(0, forward)});
                segments[pointer - 1].text = deletion.substr(0, deletion.size() - forward);
                segments[pointer + 1].text = insertion.substr(forward);
            } else {
                // <del>xxxabc</del><ins>defxxx</ins> -> <ins>def</ins>xxx<del>abc</del>
                insertAt(segments, pointer, {Operation::Equal, deletion.substr(0, backward)});
                segments[pointer - 1] = {Operation::Insert,
                                         insertion.substr(0, insertion.size() - backward)};
                segments[pointer + 1] = {Operation::Delete, deletion.substr(backward)};
            }
            ++pointer;
        }
        ++pointer;
    }
}

} // namespace

void cleanupMerge(Segments& segments) {
    do {
        joinRuns(segments);
    } while (slideEdits(segments));
}

void cleanupSemantic(Segments& segments) {
    if (eliminateSmallEqualities(segments)) {
        cleanupMerge(segments);
    }
    alignEditsToBoundaries(segments);
    extractOverlaps(segments);
}

} // namespace diff
