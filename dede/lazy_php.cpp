#include "dede/lazy_php.h"

#include "common/gbk.h"

namespace brindle::dede {

LazyPhp::LazyPhp(const Site& site, PhpOptions options) : site_(site), options_(std::move(options)) {
    options_.charset = charset_name(site.charset());
}

std::string LazyPhp::to_site(std::string_view text) const {
    return site_.charset() == SiteCharset::gbk ? utf8_to_gb18030(text) : std::string(text);
}

Result<std::string> LazyPhp::from_site(Result<std::string> result) const {
    if (site_.charset() == SiteCharset::utf8) return result;
    if (!result) {
        Error error = result.error();
        error.message = gbk_to_utf8(error.message);
        return std::unexpected(error);
    }
    return gbk_to_utf8(*result);
}

Result<PhpEvaluator*> LazyPhp::evaluator() {
    if (!evaluator_) {
        auto started = PhpEvaluator::start(options_);
        if (!started) return std::unexpected(started.error());
        evaluator_ = std::move(*started);
        // cfg_soft_lang follows the text's real encoding (set from options_.charset), not the setting.
        for (const auto& [name, value] : site_.globals())
            if (name != "cfg_soft_lang") evaluator_->set_global(name, to_site(value));
    }
    return evaluator_.get();
}

template <class Call>
Result<std::string> LazyPhp::with_php(Call&& call) {
    auto php = evaluator();
    if (!php) return std::unexpected(php.error());
    auto result = call(**php);
    (*php)->take_output();  // printed output of a value's PHP goes nowhere a page shows
    return from_site(std::move(result));
}

Result<std::string> LazyPhp::call_function(std::string_view expression, std::string_view me) {
    return with_php([&](PhpEvaluator& php) { return php.call_function(to_site(expression), to_site(me)); });
}

Result<std::string> LazyPhp::run_php(std::string_view code, std::string_view me) {
    return with_php([&](PhpEvaluator& php) { return php.run_php(to_site(code), to_site(me)); });
}

PhpRow LazyPhp::php_row(const Row& row) const {
    PhpRow out;
    for (const auto& [name, value] : row) out.emplace_back(name, to_site(value));
    return out;
}

Result<std::string> LazyPhp::call_function(std::string_view expression, const Row& me) {
    return with_php([&](PhpEvaluator& php) { return php.call_function(to_site(expression), php_row(me)); });
}

Result<std::string> LazyPhp::run_php(std::string_view code, const Row& me) {
    return with_php([&](PhpEvaluator& php) { return php.run_php(to_site(code), php_row(me)); });
}

}  // namespace brindle::dede
