#include "dede/php_evaluator.h"

#include <sapi/embed/php_embed.h>
#include <main/build-defs.h>
#include <main/php_output.h>
#include <main/php_streams.h>
#include <zend_exceptions.h>

#include <cstring>
#include <filesystem>

#include "common/try.h"
#include "dede/php_sandbox.h"

namespace brindle::dede {

extern const char kPhpHelpersSource[];  // dede/php/helpers.php, compiled in

namespace {

// Process-wide, as PHP itself is.
bool g_module_started = false;
bool g_evaluator_alive = false;
int64_t g_now = 0;
std::string* g_output = nullptr;
std::string g_ini_entries;
std::vector<std::string> g_refusals;  // sandbox warnings seen during the current call
std::string g_fatal;                  // the fatal error that ended the current call, if any
void (*g_php_error_cb)(int, zend_string*, const uint32_t, zend_string*) = nullptr;

size_t capture_output(const char* text, size_t length) {
    if (g_output) g_output->append(text, length);
    return length;
}

void ignore_flush(void*) {}
void ignore_log(const char*, int) {}
// The embed SAPI would copy the whole environment into $_SERVER, where a template could print it.
void register_no_server_variables(zval*) {}

bool is_sandbox_refusal(std::string_view message) {
    for (std::string_view sign : {"open_basedir restriction in effect", "wrapper is disabled",
                                  "Unable to find the wrapper", "has been disabled for security reasons"}) {
        if (message.find(sign) != std::string_view::npos) return true;
    }
    return false;
}

// No C++ object may be alive across the call to PHP's handler: a fatal error longjmps through it.
void note_error(int type, zend_string* file, const uint32_t line, zend_string* message) {
    if (type & (E_ERROR | E_CORE_ERROR | E_COMPILE_ERROR | E_USER_ERROR | E_RECOVERABLE_ERROR | E_PARSE))
        g_fatal.assign(ZSTR_VAL(message), ZSTR_LEN(message));
    else if (is_sandbox_refusal(std::string_view(ZSTR_VAL(message), ZSTR_LEN(message))))
        g_refusals.emplace_back(ZSTR_VAL(message), ZSTR_LEN(message));
    g_php_error_cb(type, file, line, message);
}

// The clock functions keep their PHP behaviour, but "now" is the time given to the evaluator: their
// table entries get a handler that fills in a missing timestamp and calls a copy of the original.
struct ClockFunction {
    const char* name;
    int timestamp_arg;  // index of the ?int timestamp argument; -1 for time/microtime/mktime
    zend_internal_function original{};
};

ClockFunction g_clock[] = {
    {"time", -1},     {"microtime", -1}, {"mktime", -1},    {"gmmktime", -1},  {"date", 1},
    {"gmdate", 1},    {"idate", 1},      {"strftime", 1},   {"gmstrftime", 1}, {"strtotime", 1},
    {"getdate", 0},   {"localtime", 0},
};

ClockFunction* find_clock(const char* name) {
    for (ClockFunction& f : g_clock)
        if (std::strcmp(name, f.name) == 0) return &f;
    return nullptr;
}

void call_original(ClockFunction& f, zval* args, uint32_t count, zval* return_value) {
    zend_fcall_info call{};
    call.size = sizeof(call);
    ZVAL_UNDEF(&call.function_name);
    call.retval = return_value;
    call.params = args;
    call.param_count = count;
    zend_fcall_info_cache cache{};
    cache.function_handler = reinterpret_cast<zend_function*>(&f.original);
    zend_call_function(&call, &cache);
}

// The local (or UTC) date parts of now, through the original date()/gmdate().
zend_long now_part(bool utc, const char* letter) {
    zval args[2], out;
    ZVAL_STRING(&args[0], letter);
    ZVAL_LONG(&args[1], g_now);
    ZVAL_UNDEF(&out);
    call_original(*find_clock(utc ? "gmdate" : "date"), args, 2, &out);
    zend_long value = Z_TYPE(out) == IS_STRING ? ZEND_STRTOL(Z_STRVAL(out), nullptr, 10) : 0;
    zval_ptr_dtor(&args[0]);
    zval_ptr_dtor(&out);
    return value;
}

ZEND_FUNCTION(brindle_clock) {
    ClockFunction* f = find_clock(ZSTR_VAL(execute_data->func->common.function_name));
    uint32_t given = ZEND_NUM_ARGS();
    if (!f || given > 6) {
        zend_wrong_parameters_count_error(0, 6);
        return;
    }
    zval args[6];
    for (uint32_t i = 0; i < given; i++) ZVAL_COPY_VALUE(&args[i], ZEND_CALL_ARG(execute_data, i + 1));
    uint32_t count = given;
    bool is_time = std::strcmp(f->name, "time") == 0, is_microtime = std::strcmp(f->name, "microtime") == 0;
    if (is_time && given == 0) {
        RETURN_LONG(g_now);
    } else if (is_microtime && given <= 1) {
        if (given == 1 && zend_is_true(&args[0])) RETURN_DOUBLE(static_cast<double>(g_now));
        RETURN_STR(zend_strpprintf(0, "0.00000000 " ZEND_LONG_FMT, static_cast<zend_long>(g_now)));
    } else if (f->timestamp_arg < 0 && !is_time && !is_microtime && given >= 1) {
        // mktime/gmmktime: the parts left out are those of now.
        bool utc = f->name[0] == 'g';
        static const char* letters[6] = {"G", "i", "s", "n", "j", "Y"};
        for (uint32_t i = 0; i < 6; i++) {
            if (i >= given || Z_TYPE(args[i]) == IS_NULL) ZVAL_LONG(&args[i], now_part(utc, letters[i]));
        }
        count = 6;
    } else if (f->timestamp_arg >= 0 && given >= static_cast<uint32_t>(f->timestamp_arg)) {
        uint32_t at = static_cast<uint32_t>(f->timestamp_arg);
        if (at >= given || Z_TYPE(args[at]) == IS_NULL) {
            ZVAL_LONG(&args[at], g_now);
            if (at >= given) count = at + 1;
        }
    }
    call_original(*f, args, count, return_value);
}

void replace_clock_functions() {
    for (ClockFunction& f : g_clock) {
        auto* entry = static_cast<zend_function*>(
            zend_hash_str_find_ptr(CG(function_table), f.name, std::strlen(f.name)));
        if (!entry || entry->type != ZEND_INTERNAL_FUNCTION) continue;
        f.original = entry->internal_function;
        entry->internal_function.handler = ZEND_FN(brindle_clock);
    }
}

// Beyond plain files, only data: and glob: stay (no network, no php://stdin or php://fd).
void remove_stream_wrappers() {
    for (const char* scheme : {"php", "http", "https", "ftp", "ftps", "phar", "compress.zlib", "zip",
                               "compress.bzip2", "ssh2.shell", "expect"})
        php_unregister_url_stream_wrapper(scheme);
}

std::string extension_ini() {
    std::string ini;
#ifdef __SANITIZE_ADDRESS__
    // PHP opens its extensions with RTLD_DEEPBIND, which AddressSanitizer cannot run: a sanitizer
    // build does without them (our helpers use none of them).
    return ini;
#endif
    for (const char* name : {"ctype", "iconv", "mbstring"}) {
        if (std::filesystem::exists(std::filesystem::path(PHP_EXTENSION_DIR) / (std::string(name) + ".so")))
            ini += std::string("extension=") + name + "\n";
    }
    return ini;
}

Result<void> start_module(const PhpOptions& options) {
    if (g_module_started) return {};
#ifdef ZEND_SIGNALS
    zend_signal_startup();
#endif
    sapi_startup(&php_embed_module);
    g_ini_entries = php_sandbox_ini(options.memory_limit) + extension_ini();
    php_embed_module.php_ini_ignore = 1;
    php_embed_module.php_ini_ignore_cwd = 1;
    php_embed_module.ini_entries = g_ini_entries.data();
    php_embed_module.ub_write = capture_output;
    php_embed_module.flush = ignore_flush;
    php_embed_module.log_message = ignore_log;
    php_embed_module.register_server_variables = register_no_server_variables;
    if (php_embed_module.startup(&php_embed_module) == FAILURE) return fail("PHP could not start");
    SG(options) |= SAPI_OPTION_NO_CHDIR;
    replace_clock_functions();
    remove_stream_wrappers();
    g_php_error_cb = zend_error_cb;
    zend_error_cb = note_error;
    g_module_started = true;
    return {};
}

void alter_ini(const char* name, std::string_view value) {
    zend_string* key = zend_string_init(name, std::strlen(name), 0);
    zend_alter_ini_entry_chars(key, value.data(), value.size(), PHP_INI_SYSTEM, PHP_INI_STAGE_ACTIVATE);
    zend_string_release(key);
}

void set_me(zval* target, std::string_view me) { ZVAL_STRINGL(target, me.data(), me.size()); }

void set_me(zval* target, const PhpRow& row) {
    array_init(target);
    for (const auto& [key, value] : row)
        add_assoc_stringl_ex(target, key.data(), key.size(), value.data(), value.size());
}

std::string zval_text(zval* value) {
    if (Z_TYPE_P(value) != IS_STRING) return {};
    return std::string(Z_STRVAL_P(value), Z_STRLEN_P(value));
}

}  // namespace

PhpEvaluator::PhpEvaluator(PhpOptions options) : options_(std::move(options)) {}

Result<std::unique_ptr<PhpEvaluator>> PhpEvaluator::start(const PhpOptions& options) {
    if (g_evaluator_alive) return fail("a PHP evaluator is already running in this process");
    if (options.site_functions_file && !std::filesystem::is_regular_file(*options.site_functions_file))
        return fail("the site's functions file is not there: " + *options.site_functions_file);
    BRINDLE_CHECK(start_module(options));
    std::unique_ptr<PhpEvaluator> evaluator(new PhpEvaluator(options));
    if (options.site_functions_file) {
        // Its own folder must be readable for it to load (and to include its neighbours).
        std::string include_dir = std::filesystem::absolute(*options.site_functions_file).parent_path().string();
        evaluator->options_.readable_dirs.push_back(include_dir);
    }
    g_evaluator_alive = true;
    BRINDLE_CHECK(evaluator->begin_request());
    return evaluator;
}

PhpEvaluator::~PhpEvaluator() {
    end_request();
    g_evaluator_alive = false;
}

Result<void> PhpEvaluator::begin_request() {
    OpenBasedir basedir = php_open_basedir(options_.readable_dirs);
    if (!basedir.error.empty()) return fail(basedir.error);
    g_now = options_.now;
    g_output = &output_;
    if (php_request_startup() == FAILURE) return fail("PHP could not start a request");
    SG(headers_sent) = 1;
    SG(request_info).no_headers = 1;
    PG(during_request_startup) = 0;  // php_execute_script would clear it; messages would say "Request Startup"
    zend_unset_timeout();
    request_active_ = true;
    alter_ini("open_basedir", basedir.value);
    alter_ini("memory_limit", options_.memory_limit);

    bool failed = false;
    const char* source = kPhpHelpersSource;
    if (std::strncmp(source, "<?php", 5) == 0) source += 5;
    zend_try {
        if (zend_eval_stringl(const_cast<char*>(source), std::strlen(source), nullptr, "brindle helpers") == FAILURE)
            failed = true;
    } zend_catch {
        failed = true;
    } zend_end_try();
    if (failed) {
        end_request();
        return fail("Brindle's PHP helpers do not load", kPhpFatal);
    }
    std::string soft_lang = options_.charset == "gbk" || options_.charset == "gb2312" ? "gb2312" : "utf-8";
    BRINDLE_CHECK(call("__brindle_setup", std::to_string(options_.now),
                       std::string_view(std::to_string(options_.cli_time_offset_hours)), soft_lang));
    for (const auto& [name, value] : globals_) set_global_now(name, value);
    if (options_.site_functions_file) {
        auto loaded = call("__brindle_load_site", *options_.site_functions_file, std::string_view{});
        take_output();  // text around the file's PHP tags is not part of any page
        if (!loaded) {
            loaded.error().message = "the site's functions file does not load: " + loaded.error().message;
            return std::unexpected(loaded.error());
        }
    }
    return {};
}

void PhpEvaluator::end_request() {
    if (!request_active_) return;
    // Destructors of objects the code left behind run now: keep them within the time limit.
    zend_set_timeout(options_.time_limit_seconds, 0);
    php_request_shutdown(nullptr);
    request_active_ = false;
}

void PhpEvaluator::set_global_now(std::string_view name, std::string_view value) {
    zval z;
    ZVAL_STRINGL(&z, value.data(), value.size());
    zend_hash_str_update(&EG(symbol_table), name.data(), name.size(), &z);
}

void PhpEvaluator::set_global(std::string_view name, std::string_view value) {
    bool replaced = false;
    for (auto& [known, old] : globals_) {
        if (known == name) {
            old = value;
            replaced = true;
        }
    }
    if (!replaced) globals_.emplace_back(name, value);
    if (request_active_) set_global_now(name, value);
}

std::string PhpEvaluator::take_output() { return std::exchange(output_, {}); }

template <class Me>
Result<std::string> PhpEvaluator::call(const char* entry, std::string_view a, const Me& b, std::string_view c) {
    if (!request_active_) BRINDLE_CHECK(begin_request());
    size_t output_before = output_.size();
    zval function, args[4], returned;
    ZVAL_STRING(&function, "__brindle_call");
    ZVAL_STRING(&args[0], entry);
    set_me(&args[1], a);
    set_me(&args[2], b);
    set_me(&args[3], c);
    ZVAL_UNDEF(&returned);
    g_refusals.clear();
    g_fatal.clear();
    bool fatal = false;
    zend_set_timeout(options_.time_limit_seconds, 0);
    zend_try {
        call_user_function(CG(function_table), nullptr, &function, &returned, 4, args);
        php_output_end_all();
    } zend_catch {
        fatal = true;
    } zend_end_try();
    zend_unset_timeout();
    for (zval& arg : args) zval_ptr_dtor(&arg);
    zval_ptr_dtor(&function);

    if (fatal) {
        // exit() unwinds to here too, without an error: DedeCMS's page ends with what was printed.
        Error error{g_fatal, kPhpFatal};
        if (g_fatal.empty()) {
            error = Error{output_.substr(output_before), kPhpPageStopped};
            output_.resize(output_before);
        }
        zval_ptr_dtor(&returned);
        end_request();  // the next call gets a fresh request: the engine's state after this is not reused
        return std::unexpected(error);
    }
    if (EG(exception)) zend_clear_exception();  // __brindle_call catches them all; never leave one behind
    Result<std::string> result = fail("PHP returned nothing", kPhpFatal);
    if (Z_TYPE(returned) == IS_ARRAY) {
        HashTable* parts = Z_ARRVAL(returned);
        zval* ok = zend_hash_index_find(parts, 0);
        zval* kind = zend_hash_index_find(parts, 1);
        zval* text = zend_hash_index_find(parts, 2);
        if (ok && kind && text) {
            if (Z_TYPE_P(ok) == IS_TRUE) result = zval_text(text);
            else result = fail(zval_text(text), zval_text(kind));
        }
    }
    zval_ptr_dtor(&returned);
    // A refusal is the cause of whatever failed after it.
    if (!g_refusals.empty() && (result || result.error().field != kPhpPageStopped))
        result = fail(g_refusals.front(), kPhpSandbox);
    return result;
}

Result<std::string> PhpEvaluator::call_function(std::string_view expression, std::string_view me) {
    return call("__brindle_field_function", expression, me);
}

Result<std::string> PhpEvaluator::call_function(std::string_view expression, const PhpRow& me) {
    return call("__brindle_field_function", expression, me);
}

Result<std::string> PhpEvaluator::run_php(std::string_view code, std::string_view me) {
    return call("__brindle_runphp", code, me);
}

Result<std::string> PhpEvaluator::run_php(std::string_view code, const PhpRow& me) {
    return call("__brindle_runphp", code, me);
}

}  // namespace brindle::dede
