#include "script/ProcedureText.h"

#include <pcre2.h>

#include <memory>
#include <stdexcept>

namespace {

struct CodeDeleter {
    void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};

struct MatchDataDeleter {
    void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};

using Code = std::unique_ptr<pcre2_code, CodeDeleter>;

PCRE2_SPTR units(std::u16string_view text) {
    return reinterpret_cast<PCRE2_SPTR>(text.data());
}

// "$" must mean the very end: a trailing line break belongs to the body.
Code compileParametersPattern() {
    constexpr std::u16string_view pattern = u"^PARAMETERS\\s+(.*?)\\;(.*?)$";
    int error = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code* code = pcre2_compile(units(pattern), pattern.size(),
                                     PCRE2_CASELESS | PCRE2_DOTALL | PCRE2_DOLLAR_ENDONLY, &error,
                                     &offset, nullptr);
    if (!code)
        throw std::logic_error("procedure pattern does not compile");
    return Code(code);
}

const pcre2_code& parametersPattern() {
    static const Code code = compileParametersPattern();
    return *code;
}

std::u16string group(std::u16string_view text, const PCRE2_SIZE* ovector, int index) {
    const PCRE2_SIZE begin = ovector[2 * index];
    const PCRE2_SIZE end = ovector[2 * index + 1];
    return std::u16string(text.substr(begin, end - begin));
}

} // namespace

std::optional<ProcedureText> splitProcedureText(std::u16string_view text) {
    const pcre2_code& code = parametersPattern();
    std::unique_ptr<pcre2_match_data, MatchDataDeleter> match(
        pcre2_match_data_create_from_pattern(&code, nullptr));
    if (!match)
        throw std::bad_alloc();
    // Any failure, a hit resource limit included, leaves the text a plain query.
    if (pcre2_match(&code, units(text), text.size(), 0, 0, match.get(), nullptr) < 0)
        return std::nullopt;
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(match.get());
    return ProcedureText{group(text, ovector, 1), group(text, ovector, 2)};
}
