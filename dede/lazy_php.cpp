#include "dede/lazy_php.h"

namespace brindle::dede {

Result<PhpEvaluator*> LazyPhp::evaluator() {
    if (!evaluator_) {
        auto started = PhpEvaluator::start(options_);
        if (!started) return std::unexpected(started.error());
        evaluator_ = std::move(*started);
        for (const auto& [name, value] : site_.globals()) evaluator_->set_global(name, value);
    }
    return evaluator_.get();
}

template <class Call>
Result<std::string> LazyPhp::with_php(Call&& call) {
    auto php = evaluator();
    if (!php) return std::unexpected(php.error());
    auto result = call(**php);
    (*php)->take_output();  // printed output of a value's PHP goes nowhere a page shows
    return result;
}

namespace {

PhpRow php_row(const Row& row) { return PhpRow(row.begin(), row.end()); }

}  // namespace

Result<std::string> LazyPhp::call_function(std::string_view expression, std::string_view me) {
    return with_php([&](PhpEvaluator& php) { return php.call_function(expression, me); });
}

Result<std::string> LazyPhp::run_php(std::string_view code, std::string_view me) {
    return with_php([&](PhpEvaluator& php) { return php.run_php(code, me); });
}

Result<std::string> LazyPhp::call_function(std::string_view expression, const Row& me) {
    return with_php([&](PhpEvaluator& php) { return php.call_function(expression, php_row(me)); });
}

Result<std::string> LazyPhp::run_php(std::string_view code, const Row& me) {
    return with_php([&](PhpEvaluator& php) { return php.run_php(code, php_row(me)); });
}

}  // namespace brindle::dede
