#include "dede/php_sandbox.h"

#include <filesystem>

namespace brindle::dede {

namespace {

// A folder nothing is in: open_basedir when no folder is readable (an empty value would allow all).
constexpr std::string_view kNowhere = "/nonexistent/brindle-no-files/";

std::string joined(const std::vector<std::string_view>& names) {
    std::string out;
    for (std::string_view name : names) {
        if (!out.empty()) out += ',';
        out += name;
    }
    return out;
}

}  // namespace

const std::vector<std::string_view>& php_disabled_functions() {
    static const std::vector<std::string_view> names = {
        // programs and processes
        "exec", "system", "passthru", "shell_exec", "popen", "proc_open", "proc_close", "proc_terminate",
        "proc_get_status", "proc_nice", "pcntl_exec", "pcntl_fork", "pcntl_signal", "pcntl_alarm",
        "pcntl_waitpid", "pcntl_wait", "posix_kill", "posix_setuid", "posix_setgid", "posix_mkfifo",
        "mail", "mb_send_mail",
        // files: opening for writing, creating, changing, removing
        "fopen", "tmpfile", "tempnam", "file_put_contents", "fwrite", "fputs", "fputcsv", "ftruncate",
        "flock", "unlink", "rename", "copy", "mkdir", "rmdir", "touch", "chmod", "chown", "chgrp",
        "lchown", "lchgrp", "symlink", "link", "move_uploaded_file", "gzopen", "error_log", "syslog",
        "openlog", "image2wbmp", "session_start", "session_save_path", "session_module_name",
        // network
        "fsockopen", "pfsockopen", "stream_socket_client", "stream_socket_server", "stream_socket_accept",
        "stream_socket_pair", "stream_socket_sendto", "stream_socket_recvfrom", "socket_create",
        "curl_init", "curl_exec", "curl_multi_exec", "dns_get_record", "gethostbyname", "gethostbynamel",
        "stream_wrapper_register", "stream_wrapper_restore", "stream_wrapper_unregister",
        // settings, limits, environment, loading code
        "ini_set", "ini_alter", "ini_restore", "set_time_limit", "ignore_user_abort", "putenv", "getenv",
        "apache_setenv", "dl", "phpinfo", "php_uname", "getmypid", "getmyuid", "get_current_user",
        // waiting: the time limit counts CPU time, so a sleep would never end
        "sleep", "usleep", "time_nanosleep", "time_sleep_until",
        // code that would run after the call, outside its time limit
        "register_shutdown_function", "register_tick_function", "header_register_callback",
    };
    return names;
}

const std::vector<std::string_view>& php_disabled_classes() {
    static const std::vector<std::string_view> names = {
        "SplFileObject", "SplTempFileObject", "PDO", "SQLite3", "mysqli", "ZipArchive", "XMLWriter",
        "Phar", "PharData", "FFI", "CURLFile",
    };
    return names;
}

std::string php_sandbox_ini(std::string_view memory_limit) {
    std::string ini;
    auto set = [&ini](std::string_view key, std::string_view value) {
        ini.append(key).append("=").append(value).append("\n");
    };
    set("disable_functions", joined(php_disabled_functions()));
    set("disable_classes", joined(php_disabled_classes()));
    set("open_basedir", kNowhere);
    set("allow_url_fopen", "0");
    set("allow_url_include", "0");
    set("enable_dl", "0");
    set("memory_limit", memory_limit);
    set("max_execution_time", "0");  // set around each call instead, so idle time never counts
    set("max_input_time", "-1");
    set("display_errors", "0");
    set("display_startup_errors", "0");
    set("log_errors", "0");
    set("html_errors", "0");
    set("error_reporting", "32767");
    set("output_buffering", "0");
    set("implicit_flush", "0");
    set("variables_order", "GPCS");  // no $_ENV
    set("register_argc_argv", "0");
    set("date.timezone", "UTC");
    set("zend.enable_gc", "1");
    return ini;
}

OpenBasedir php_open_basedir(const std::vector<std::string>& dirs) {
    OpenBasedir result;
    for (const std::string& dir : dirs) {
        std::error_code error;
        std::filesystem::path absolute = std::filesystem::absolute(dir, error);
        if (error) {
            result.error = "cannot resolve the folder " + dir + ": " + error.message();
            return result;
        }
        std::string text = absolute.lexically_normal().string();
        if (text.find(':') != std::string::npos) {
            result.error = "PHP cannot be limited to a folder whose name holds ':': " + text;
            return result;
        }
        if (text.empty() || text.back() != '/') text += '/';
        if (!result.value.empty()) result.value += ':';
        result.value += text;
    }
    if (result.value.empty()) result.value = kNowhere;
    return result;
}

}  // namespace brindle::dede
