#pragma once

// A compiled regular expression on UTF-16 text, matched case-insensitively with Perl
// semantics. Matching is bounded: a statement that would make the backtracking explode
// counts as not matching instead of hanging the run.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct pcre2_real_code_16;

namespace SQLExecutor {

class Pattern {
public:
    // Groups of one match; index 0 is the whole match, a group that took no part is empty.
    using Groups = std::vector<std::u16string_view>;

    // Throws std::logic_error when the expression does not compile.
    explicit Pattern(std::u16string_view expression);
    ~Pattern();
    Pattern(const Pattern&) = delete;
    Pattern& operator=(const Pattern&) = delete;

    // The groups of the first match in text (views into text); nullopt when there is none
    // or when the match ran into its limits.
    std::optional<Groups> match(std::u16string_view text) const;

private:
    pcre2_real_code_16* code_;
    std::size_t groupCount_;
};

} // namespace SQLExecutor
