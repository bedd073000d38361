#include "runner/sqlexecutor/Pattern.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <new>
#include <stdexcept>

namespace SQLExecutor {

namespace {

// Matching a statement of n units may take this many steps plus a few per unit: enough for
// every form the dialect has, far below what a pathological statement would need.
constexpr std::uint32_t baseMatchLimit = 1'000'000;
constexpr std::uint32_t matchStepsPerUnit = 64;
// The expressions nest only a few groups, so their backtracking depth stays small.
constexpr std::uint32_t depthLimit = 10'000;
// Room for the groups of every expression the parser uses.
constexpr std::uint32_t maxGroups = 32;
constexpr std::size_t jitStackStart = 32 * 1024;
constexpr std::size_t jitStackMax = 4 * 1024 * 1024;

PCRE2_SPTR16 units(std::u16string_view text) {
    // A view of an empty string may have no storage; PCRE2 wants a valid pointer.
    static const char16_t empty = 0;
    return reinterpret_cast<PCRE2_SPTR16>(text.empty() ? &empty : text.data());
}

std::uint32_t matchLimitFor(std::size_t length) {
    std::uint64_t limit = baseMatchLimit + std::uint64_t(matchStepsPerUnit) * length;
    return limit > UINT32_MAX ? UINT32_MAX : std::uint32_t(limit);
}

// What one thread needs to match: the match context with its limits and compiled-code
// stack, and the vector of group offsets.
class MatchScratch {
public:
    MatchScratch()
        : context_(pcre2_match_context_create_16(nullptr)),
          stack_(pcre2_jit_stack_create_16(jitStackStart, jitStackMax, nullptr)),
          data_(pcre2_match_data_create_16(maxGroups, nullptr)) {
        if (!context_ || !data_)
            throw std::bad_alloc();
        pcre2_set_depth_limit_16(context_, depthLimit);
        if (stack_)
            pcre2_jit_stack_assign_16(context_, nullptr, stack_);
    }
    ~MatchScratch() {
        pcre2_match_data_free_16(data_);
        pcre2_jit_stack_free_16(stack_);
        pcre2_match_context_free_16(context_);
    }
    MatchScratch(const MatchScratch&) = delete;
    MatchScratch& operator=(const MatchScratch&) = delete;

    // The number of groups set, as pcre2_match returns it; 0 or less when there is no match.
    int match(const pcre2_code_16* code, std::u16string_view text) {
        pcre2_set_match_limit_16(context_, matchLimitFor(text.size()));
        int count = pcre2_match_16(code, units(text), text.size(), 0, 0, data_, context_);
        // The compiled code ran out of stack: the interpreter, bounded by the depth limit,
        // decides instead.
        if (count == PCRE2_ERROR_JIT_STACKLIMIT)
            count =
                pcre2_match_16(code, units(text), text.size(), 0, PCRE2_NO_JIT, data_, context_);
        return count;
    }

    const PCRE2_SIZE* offsets() const { return pcre2_get_ovector_pointer_16(data_); }

private:
    pcre2_match_context_16* context_;
    pcre2_jit_stack_16* stack_;
    pcre2_match_data_16* data_;
};

} // namespace

Pattern::Pattern(std::u16string_view expression) {
    int error = 0;
    PCRE2_SIZE offset = 0;
    code_ = pcre2_compile_16(units(expression), expression.size(), PCRE2_CASELESS, &error, &offset,
                             nullptr);
    std::uint32_t captures = 0;
    if (!code_ || pcre2_pattern_info_16(code_, PCRE2_INFO_CAPTURECOUNT, &captures) != 0 ||
        captures >= maxGroups) {
        pcre2_code_free_16(code_);
        throw std::logic_error("regular expression does not compile");
    }
    groupCount_ = captures + 1;
    // Without compiled code (no JIT on this machine) the interpreter matches alone.
    pcre2_jit_compile_16(code_, PCRE2_JIT_COMPLETE);
}

Pattern::~Pattern() {
    pcre2_code_free_16(code_);
}

std::optional<Pattern::Groups> Pattern::match(std::u16string_view text) const {
    thread_local MatchScratch scratch;
    int count = scratch.match(code_, text);
    if (count <= 0)
        return std::nullopt;

    const PCRE2_SIZE* offsets = scratch.offsets();
    Groups groups(groupCount_);
    for (std::size_t i = 0; i < groupCount_ && i < std::size_t(count); ++i) {
        PCRE2_SIZE begin = offsets[2 * i];
        PCRE2_SIZE end = offsets[2 * i + 1];
        if (begin != PCRE2_UNSET && end >= begin)
            groups[i] = text.substr(begin, end - begin);
    }
    return groups;
}

} // namespace SQLExecutor
