#pragma once
// PHP's preg_* patterns, read and run by PCRE2 as PHP runs them: DedeCMS builds patterns from the
// site's own data (a keyword is a pattern there), so only PCRE reads them the way the site does.
// A pattern is PHP's whole string: delimiters, then flags ("#<a.*>#isU").
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"

namespace brindle::dede {

class PhpRegex {
public:
    // The pattern compiled, or why PHP would refuse it (a missing end delimiter, an unknown flag, a
    // pattern PCRE cannot read).
    static Result<PhpRegex> compile(std::string_view pattern);

    struct Span {
        size_t begin = 0, end = 0;
        bool set = false;  // a group that took no part in the match
    };
    // Every match, left to right (preg_match_all): the whole match, then each group.
    Result<std::vector<std::vector<Span>>> find_all(std::string_view subject) const;
    // preg_replace: at most `limit` matches replaced (all when limit < 0); $N, ${N} and \N in the
    // replacement stand for groups.
    Result<std::string> replace(std::string_view subject, std::string_view replacement, long limit = -1) const;

private:
    struct Code;
    explicit PhpRegex(std::shared_ptr<const Code> code) : code_(std::move(code)) {}
    // Calls `found` for each match in order, as PHP walks a subject (an empty match is retried once
    // as non-empty, then the walk moves one character on); stops after `limit` matches.
    template <class Found>
    Result<void> each_match(std::string_view subject, long limit, Found&& found) const;

    std::shared_ptr<const Code> code_;
};

}  // namespace brindle::dede
