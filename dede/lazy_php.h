#pragma once
// The renderer's PHP, started on the first field function or runphp body: a template with neither
// never starts the interpreter. The site's settings are PHP globals, as in DedeCMS. On a GBK site
// PHP sees GBK bytes, as the GBK edition's code does, and its results come back as UTF-8.
#include <memory>

#include "dede/php_evaluator.h"
#include "dede/renderer.h"

namespace brindle::dede {

class LazyPhp : public PhpCode {
public:
    LazyPhp(const Site& site, PhpOptions options);

    Result<std::string> call_function(std::string_view expression, std::string_view me) override;
    Result<std::string> run_php(std::string_view code, std::string_view me) override;
    Result<std::string> call_function(std::string_view expression, const Row& me) override;
    Result<std::string> run_php(std::string_view code, const Row& me) override;
    bool started() const { return evaluator_ != nullptr; }

private:
    Result<PhpEvaluator*> evaluator();
    // One call, with the interpreter started if it is not yet; what the code printed is dropped.
    template <class Call>
    Result<std::string> with_php(Call&& call);
    // Text in the site's encoding for PHP, and back.
    std::string to_site(std::string_view text) const;
    PhpRow php_row(const Row& row) const;
    Result<std::string> from_site(Result<std::string> result) const;

    const Site& site_;
    PhpOptions options_;
    std::unique_ptr<PhpEvaluator> evaluator_;
};

}  // namespace brindle::dede
