#include "runner/sqlexecutor/Pattern.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <memory>
#include <stdexcept>

namespace SQLExecutor {

namespace {

// Matching a statement of n units may take this many steps plus a few per unit: enough for
// every form the dialect has, far below what a pathological statement would need.
constexpr std::uint32_t baseMatchLimit = 1'000'000;
constexpr std::uint32_t matchStepsPerUnit = 64;
// The expressions nest only a few groups, so their backtracking depth stays small.
constexpr std::uint32_t depthLimit = 10'000;

PCRE2_SPTR16 units(std::u16string_view text) {
    return reinterpret_cast<PCRE2_SPTR16>(text.data());
}

struct MatchDataDeleter {
    void operator()(pcre2_match_data_16* data) const { pcre2_match_data_free_16(data); }
};

struct MatchContextDeleter {
    void operator()(pcre2_match_context_16* context) const { pcre2_match_context_free_16(context); }
};

std::uint32_t matchLimitFor(std::size_t length) {
    std::uint64_t limit = baseMatchLimit + std::uint64_t(matchStepsPerUnit) * length;
    return limit > UINT32_MAX ? UINT32_MAX : std::uint32_t(limit);
}

} // namespace

struct Pattern::Code {
    pcre2_code_16* compiled = nullptr;
};

Pattern::Pattern(std::u16string_view expression) : code_(new Code) {
    int error = 0;
    PCRE2_SIZE offset = 0;
    code_->compiled = pcre2_compile_16(units(expression), expression.size(), PCRE2_CASELESS, &error,
                                       &offset, nullptr);
    if (!code_->compiled) {
        delete code_;
        throw std::logic_error("regular expression does not compile");
    }
}

Pattern::~Pattern() {
    pcre2_code_free_16(code_->compiled);
    delete code_;
}

std::optional<Pattern::Groups> Pattern::match(std::u16string_view text) const {
    std::unique_ptr<pcre2_match_data_16, MatchDataDeleter> data(
        pcre2_match_data_create_from_pattern_16(code_->compiled, nullptr));
    std::unique_ptr<pcre2_match_context_16, MatchContextDeleter> context(
        pcre2_match_context_create_16(nullptr));
    if (!data || !context)
        throw std::bad_alloc();
    pcre2_set_match_limit_16(context.get(), matchLimitFor(text.size()));
    pcre2_set_depth_limit_16(context.get(), depthLimit);

    // A view of an empty string may have no storage; PCRE2 wants a valid pointer.
    static const char16_t empty = 0;
    PCRE2_SPTR16 subject = text.empty() ? units(std::u16string_view(&empty, 0)) : units(text);
    int count =
        pcre2_match_16(code_->compiled, subject, text.size(), 0, 0, data.get(), context.get());
    if (count <= 0)
        return std::nullopt;

    std::uint32_t groupCount = pcre2_get_ovector_count_16(data.get());
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer_16(data.get());
    Groups groups(groupCount);
    for (std::uint32_t i = 0; i < groupCount && i < std::uint32_t(count); ++i) {
        PCRE2_SIZE begin = ovector[2 * i];
        PCRE2_SIZE end = ovector[2 * i + 1];
        if (begin != PCRE2_UNSET && end >= begin)
            groups[i] = text.substr(begin, end - begin);
    }
    return groups;
}

} // namespace SQLExecutor
