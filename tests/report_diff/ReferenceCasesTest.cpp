// Replays tests/data/diff/cases.txt: the segments that the reference implementation (the npm
// package diff-match-patch) gives for a corpus of input pairs. generate.js beside the file
// describes the format and rebuilds it.

#include "report/diff/Diff.h"

#include "SegmentChecks.h"

#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <map>
#include <optional>
#include <sstream>

using namespace diff;

namespace {

struct ReferenceCase {
    std::string name;
    std::optional<std::int64_t> deadline; // clock readings before it passes
    std::u16string text1;
    std::u16string text2;
    std::string expected; // "=n", "-n", "+n" tokens
};

std::u16string unescape(const std::string& escaped) {
    std::u16string text;
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] != '\\') {
            text.push_back(static_cast<char16_t>(escaped[i]));
            continue;
        }
        switch (escaped.at(++i)) {
        case 'n':
            text.push_back(u'\n');
            break;
        case 'r':
            text.push_back(u'\r');
            break;
        case 't':
            text.push_back(u'\t');
            break;
        case '\\':
            text.push_back(u'\\');
            break;
        case 'u':
            text.push_back(static_cast<char16_t>(std::stoi(escaped.substr(i + 1, 4), nullptr, 16)));
            i += 4;
            break;
        case '#': {
            const auto end = escaped.find(';', i);
            const auto comma = escaped.find(',', i);
            const int to = std::stoi(escaped.substr(comma + 1, end - comma - 1));
            for (int n = std::stoi(escaped.substr(i + 1, comma - i - 1)); n < to; ++n) {
                for (const char c : std::to_string(n)) {
                    text.push_back(static_cast<char16_t>(c));
                }
                text.push_back(u'\n');
            }
            i = end;
            break;
        }
        default:
            throw std::runtime_error("bad escape in " + escaped.substr(0, 40));
        }
    }
    return text;
}

std::map<std::string, std::vector<ReferenceCase>> loadGroups() {
    std::ifstream in(KEL_SOURCE_DIR "/tests/data/diff/cases.txt");
    std::map<std::string, std::vector<ReferenceCase>> groups;
    std::string line;
    ReferenceCase current;
    while (std::getline(in, line)) {
        if (line.rfind("case ", 0) == 0) {
            std::istringstream header(line.substr(5));
            std::string word;
            header >> current.name;
            current.deadline.reset();
            if (header >> word && word == "deadline") {
                std::int64_t n = 0;
                header >> n;
                current.deadline = n;
            }
        } else if (line.rfind("a ", 0) == 0) {
            current.text1 = unescape(line.substr(2));
        } else if (line.rfind("b ", 0) == 0) {
            current.text2 = unescape(line.substr(2));
        } else if (line.rfind("d", 0) == 0) {
            current.expected = line.size() > 1 ? line.substr(2) : "";
            groups[current.name.substr(0, current.name.find('/'))].push_back(current);
        }
    }
    return groups;
}

const std::map<std::string, std::vector<ReferenceCase>>& groups() {
    static const auto loaded = loadGroups();
    return loaded;
}

// The expected segments with their texts, taken from the inputs in order.
Segments expectedSegments(const ReferenceCase& c) {
    Segments segments;
    std::size_t at1 = 0;
    std::size_t at2 = 0;
    std::istringstream tokens(c.expected);
    std::string token;
    while (tokens >> token) {
        const auto length = std::stoul(token.substr(1));
        switch (token[0]) {
        case '=':
            segments.push_back({Operation::Equal, c.text1.substr(at1, length)});
            at1 += length;
            at2 += length;
            break;
        case '-':
            segments.push_back({Operation::Delete, c.text1.substr(at1, length)});
            at1 += length;
            break;
        default:
            segments.push_back({Operation::Insert, c.text2.substr(at2, length)});
            at2 += length;
            break;
        }
    }
    EXPECT_EQ(at1, c.text1.size()) << "data file does not cover text 1";
    EXPECT_EQ(at2, c.text2.size()) << "data file does not cover text 2";
    return segments;
}

Deadline deadlineOf(const ReferenceCase& c) {
    if (!c.deadline) {
        return Deadline([] { return std::int64_t{0}; }, std::numeric_limits<std::int64_t>::max());
    }
    auto readings = std::make_shared<std::int64_t>(0);
    return Deadline([readings] { return ++*readings; }, *c.deadline);
}

std::string describe(const Segments& segments) {
    std::string out;
    for (const auto& s : segments) {
        out += s.operation == Operation::Equal    ? " ="
               : s.operation == Operation::Delete ? " -"
                                                  : " +";
        out += std::to_string(s.text.size());
    }
    return out;
}

class ReferenceCases : public testing::TestWithParam<std::string> {};

TEST_P(ReferenceCases, SegmentsEqualTheReference) {
    const auto found = groups().find(GetParam());
    ASSERT_NE(found, groups().end()) << "no cases in tests/data/diff/cases.txt";
    for (const auto& c : found->second) {
        const Segments expected = expectedSegments(c);
        const Segments actual = diffMain(c.text1, c.text2, true, deadlineOf(c));
        EXPECT_EQ(actual, expected)
            << c.name << "\nexpected" << describe(expected) << "\nactual  " << describe(actual);
    }
}

INSTANTIATE_TEST_SUITE_P(Diff, ReferenceCases,
                         testing::Values("basic", "prefix-suffix", "random-small", "random-edit",
                                         "halfmatch", "source", "unicode", "repetitive", "deadline",
                                         "limits"));

TEST(ReferenceCaseFile, HoldsEveryGroup) {
    std::size_t total = 0;
    for (const auto& [name, cases] : groups()) {
        total += cases.size();
    }
    EXPECT_EQ(groups().size(), 10u);
    EXPECT_GT(total, 900u);
}

} // namespace
