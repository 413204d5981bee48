#pragma once
// The PHP inside DedeCMS templates (`function='...'` on a value, `runphp='yes'` bodies), run by PHP
// itself (the embed SAPI) in a sandbox: it may compute and read the template and site folders, and
// nothing else. PHP is process-wide state, so at most one evaluator lives at a time.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/result.h"

namespace brindle::dede {

struct PhpOptions {
    std::vector<std::string> readable_dirs;          // open_basedir: template and site folders
    std::optional<std::string> site_functions_file;  // the site's include/extend.func.php
    int64_t now = 0;                                 // seconds since 1970 UTC: what time() answers
    int cli_time_offset_hours = 8;                   // cfg_cli_time: MyDate's and date()'s zone
    std::string charset = "utf-8";                   // "utf-8", or "gbk" (cfg_soft_lang gb2312)
    int time_limit_seconds = 5;                      // CPU time per call; a loop ends with an error
    std::string memory_limit = "128M";
};

// A DedeCMS row handed to PHP as an associative array (`[field:array]`, `{dede:field name='array'}`).
using PhpRow = std::vector<std::pair<std::string, std::string>>;

// Error::field says what went wrong: a Throwable's class ("ParseError", "Error", "TypeError", ...),
// kPhpFatal (time or memory limit, after which the interpreter is restarted), kPhpSandbox (a file or
// URL outside what the sandbox allows), or kPhpPageStopped: DedeCMS would end the page here (exit(),
// die(), or its own check for forbidden calls in runphp code); message is then the text DedeCMS
// prints as the rest of the page.
inline constexpr const char* kPhpFatal = "fatal error";
inline constexpr const char* kPhpSandbox = "sandbox";
inline constexpr const char* kPhpPageStopped = "page stopped";

class PhpEvaluator {
public:
    // Starts the interpreter (once per process) and a fresh PHP request with the options.
    static Result<std::unique_ptr<PhpEvaluator>> start(const PhpOptions& options);
    ~PhpEvaluator();
    PhpEvaluator(const PhpEvaluator&) = delete;
    PhpEvaluator& operator=(const PhpEvaluator&) = delete;

    // `function='EXPR'`: EXPR with @me (any case, also quoted) standing for the value; a PHP-empty()
    // result gives "", an array "array".
    Result<std::string> call_function(std::string_view expression, std::string_view me);
    Result<std::string> call_function(std::string_view expression, const PhpRow& me);

    // A runphp body: code that reads and sets @me; the result is @me afterwards.
    Result<std::string> run_php(std::string_view code, std::string_view me);
    Result<std::string> run_php(std::string_view code, const PhpRow& me);

    // A PHP global the code sees (cfg_* and the like); kept across interpreter restarts.
    void set_global(std::string_view name, std::string_view value);

    // What the code printed (echo, print) since the last call to this. DedeCMS sends it to the browser
    // ahead of a dynamic page; for a generated static page it never reaches the file.
    std::string take_output();

private:
    explicit PhpEvaluator(PhpOptions options);
    // One PHP request: helpers loaded, globals set, the site's functions loaded. A fatal error ends
    // it and the next call begins a new one.
    Result<void> begin_request();
    void end_request();
    void set_global_now(std::string_view name, std::string_view value);
    // ENTRY(a, b, c) of helpers.php, through its exception guard.
    template <class Me>
    Result<std::string> call(const char* entry, std::string_view a, const Me& b, std::string_view c = {});

    PhpOptions options_;
    std::vector<std::pair<std::string, std::string>> globals_;
    std::string output_;
    bool request_active_ = false;
};

}  // namespace brindle::dede
