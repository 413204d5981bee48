// PHP in templates: values checked against what DedeCMS 5.7 printed for the fixtures in
// fixtures/cases (40_field_functions, 41_runphp, 21_function_zero_is_empty, 24_mydate_H_m_month,
// 46_attribute_parsing), and the sandbox.
#include "dede/php_evaluator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace brindle::dede {
namespace {

namespace fs = std::filesystem;

constexpr int64_t kFixtureNow = 1717243200;  // 2024-06-01 12:00:00 UTC, the fixtures' clock

class PhpEvaluatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("brindle-php-" + std::to_string(getpid()));
        fs::create_directories(root_ / "templets");
        std::ofstream(root_ / "templets" / "note.txt") << "readable";
        outside_ = fs::temp_directory_path() / ("brindle-php-outside-" + std::to_string(getpid()));
        fs::create_directories(outside_);
        std::ofstream(outside_ / "secret.txt") << "secret";
    }
    void TearDown() override {
        php_.reset();
        fs::remove_all(root_);
        fs::remove_all(outside_);
    }
    PhpEvaluator& start(PhpOptions options = {}) {
        if (options.readable_dirs.empty()) options.readable_dirs = {(root_ / "templets").string()};
        if (options.now == 0) options.now = kFixtureNow;
        options.time_limit_seconds = 1;
        options.memory_limit = "64M";
        auto started = PhpEvaluator::start(options);
        EXPECT_TRUE(started) << started.error().describe();
        php_ = std::move(*started);
        return *php_;
    }
    std::string fn(std::string_view expression, std::string_view me) {
        auto result = php_->call_function(expression, me);
        EXPECT_TRUE(result) << expression << ": " << result.error().describe();
        return result ? *result : "<error>";
    }
    Error fn_error(std::string_view expression, std::string_view me = "") {
        auto result = php_->call_function(expression, me);
        EXPECT_FALSE(result) << expression << " gave " << *result;
        return result ? Error{} : result.error();
    }
    Error php_error(std::string_view code) {
        auto result = php_->run_php(code, "");
        EXPECT_FALSE(result) << code << " gave " << *result;
        return result ? Error{} : result.error();
    }
    void expect_still_working() { EXPECT_EQ(fn("@me + 1", "41"), "42"); }

    fs::path root_, outside_;
    std::unique_ptr<PhpEvaluator> php_;
};

TEST_F(PhpEvaluatorTest, FieldFunctionsMatchDedeCms) {
    start();
    const std::string title16 = "深入理解C++模板元编程技术与实践指南全集（16）";
    EXPECT_EQ(fn("cn_substr(@me,10)", title16), "深入理解");
    EXPECT_EQ(fn("cn_substr(@me,11)", title16), "深入理解");
    EXPECT_EQ(fn("cn_substrR(@me,4)", title16), "深入理");
    EXPECT_EQ(fn("html2text(@me)", "第16篇示例文章的摘要 description for article 16. 内容简介内容简介"),
              "第16篇示例文章的摘要 description for article 16. 内容简介内容简介");
    EXPECT_EQ(fn("strtoupper(@me).'-'.@me", "admin"), "ADMIN-admin");
    EXPECT_EQ(fn("str_repeat('@me',2)", "16"), "1616");
    EXPECT_EQ(fn("GetDateMk(@me)", "1656606416"), "2022-07-01");
    EXPECT_EQ(fn("MyDate('Y年m月d日',@me)", "1656606416"), "2022年07月01日");
    EXPECT_EQ(fn("dede_htmlspecialchars(@me)", title16), title16);
    EXPECT_EQ(fn("html2text(@me)", "C++ RAII & smart pointers <intro> #42"), "C++ RAII & smart pointers #42");
    EXPECT_EQ(fn("GetDateMk(@me)", "0"), "暂无");
    // @ME in any case, and the ASCII overshoot: 10 bytes asked, 11 given.
    EXPECT_EQ(fn("cn_substr(@ME,10)", "abcdefghijklmnop"), "abcdefghijk");
}

TEST_F(PhpEvaluatorTest, EmptyResultsPrintNothing) {
    start();
    EXPECT_EQ(fn("@me*0", "919"), "");
    EXPECT_EQ(fn("\"0\"", "1"), "");
    EXPECT_EQ(fn("\"\"", "1"), "");
    EXPECT_EQ(fn("@me-1", "1"), "");
    EXPECT_EQ(fn("@me+1", "1"), "2");
    EXPECT_EQ(fn("@me", "0"), "");
    EXPECT_EQ(fn("strlen(@me)", ""), "");
    EXPECT_EQ(fn("array()", "1"), "");
    EXPECT_EQ(fn("array(1)", "1"), "array");
    EXPECT_EQ(fn("null", "1"), "");
    EXPECT_EQ(fn("1.5*2", "1"), "3");
}

TEST_F(PhpEvaluatorTest, MyDateUsesPhpLettersAtCliTime) {
    start();
    EXPECT_EQ(fn("MyDate('H:m',@me)", "1663889923"), "07:09");
    EXPECT_EQ(fn("MyDate('H:i',@me)", "1663889923"), "07:38");
    EXPECT_EQ(fn("MyDate('',@me)", "1663889923"), "2022-09-23 07:38:43");
    EXPECT_EQ(fn("GetDateTimeMk(@me)", "1663889923"), "2022-09-23 07:38:43");
    EXPECT_EQ(fn("date('Y-m-d H:i',@me)", "1663889923"), "2022-09-23 07:38");
}

TEST_F(PhpEvaluatorTest, ClockIsTheGivenNow) {
    start();
    EXPECT_EQ(fn("time()", ""), "1717243200");
    EXPECT_EQ(fn("date('Y-m-d H:i:s')", ""), "2024-06-01 20:00:00");
    EXPECT_EQ(fn("gmdate('Y-m-d H:i:s')", ""), "2024-06-01 12:00:00");
    EXPECT_EQ(fn("mktime(0,0,0)", ""), "1717171200");  // 2024-06-01 00:00 at UTC+8
    EXPECT_EQ(fn("strtotime('+1 day')", ""), "1717329600");
    EXPECT_EQ(fn("getdate()['year']", ""), "2024");
    EXPECT_EQ(fn("microtime(true)", ""), "1717243200");
    EXPECT_EQ(fn("$_SERVER['REQUEST_TIME']", ""), "1717243200");
    // Chance is fixed by the clock, so a page renders the same twice.
    std::string first = fn("mt_rand(1, 1000000000)", "");
    php_.reset();
    start();
    EXPECT_EQ(fn("mt_rand(1, 1000000000)", ""), first);
}

TEST_F(PhpEvaluatorTest, CliTimeOffsetMovesMyDateAndDate) {
    PhpOptions options;
    options.cli_time_offset_hours = 0;
    start(options);
    EXPECT_EQ(fn("MyDate('H:i',@me)", "1717243200"), "12:00");
    EXPECT_EQ(fn("date('H:i')", ""), "12:00");
}

TEST_F(PhpEvaluatorTest, ArrayValuesAndCurlyKeys) {
    start();
    PhpRow row = {{"id", "59"}, {"typeid", "1"}, {"title", "<strong>人工智能在医疗领域的应</strong>"}};
    EXPECT_EQ(*php_->call_function("@me[\"id\"]", row), "59");
    EXPECT_EQ(*php_->call_function("@me{\"title\"}", row), "<strong>人工智能在医疗领域的应</strong>");
    EXPECT_EQ(*php_->run_php("@me = @me['id'] . '/' . @me['typeid'];", row), "59/1");
    EXPECT_EQ(*php_->run_php("", row), "array");
}

TEST_F(PhpEvaluatorTest, RunPhpSetsMe) {
    start();
    EXPECT_EQ(*php_->run_php("@me = \"typeid=\" . @me;", "1"), "typeid=1");
    EXPECT_EQ(*php_->run_php("@me = strtoupper(@me);", "default"), "DEFAULT");
    EXPECT_EQ(*php_->run_php("@me = (@me % 2 == 0) ? 'even' : 'odd';", "52"), "even");
    EXPECT_EQ(*php_->run_php("'@me' = 'quoted';", "x"), "quoted");
    // Each call has its own scope, as DedeCMS's eval inside a method has.
    EXPECT_EQ(*php_->run_php("$kept = 5;", ""), "");
    EXPECT_EQ(fn("isset($kept) ? 'kept' : 'gone'", ""), "gone");
}

TEST_F(PhpEvaluatorTest, EchoIsCapturedNotPrinted) {
    start();
    testing::internal::CaptureStdout();
    auto result = php_->run_php("echo 'hello'; print ' there'; @me = 'value';", "");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(*result, "value");
    EXPECT_EQ(php_->take_output(), "hello there");
    EXPECT_EQ(php_->take_output(), "");
    EXPECT_EQ(*php_->run_php("ob_start(); echo 'buffered';", ""), "");
    EXPECT_EQ(php_->take_output(), "buffered");
}

TEST_F(PhpEvaluatorTest, ExitEndsThePageWithItsText) {
    start();
    Error stopped = php_error("echo 'before'; die('last words');");
    EXPECT_EQ(stopped.field, kPhpPageStopped);
    EXPECT_EQ(stopped.message, "beforelast words");
    EXPECT_EQ(php_->take_output(), "");
    expect_still_working();
}

TEST_F(PhpEvaluatorTest, DedeCmsRefusesListedCallsInRunPhp) {
    start();
    Error refused = php_error("@me = fopen('a.txt','r');");
    EXPECT_EQ(refused.field, kPhpPageStopped);
    EXPECT_EQ(refused.message,
              "DedeCMS提示：当前页面中存在恶意代码！<pre>$DedeMeValue = fopen(&#039;a.txt&#039;,&#039;r&#039;);</pre>");
    // The site's own list replaces DedeCMS's default one.
    php_->set_global("cfg_disable_funs", "strrev");
    EXPECT_EQ(php_error("@me = strrev('ab');").field, kPhpPageStopped);
    EXPECT_EQ(*php_->run_php("@me = strtoupper('ab');", ""), "AB");
}

TEST_F(PhpEvaluatorTest, ErrorsComeBackWithPhpsMessage) {
    start();
    Error parse = fn_error("strlen(@me");
    EXPECT_EQ(parse.field, "ParseError");
    EXPECT_EQ(parse.message, "syntax error, unexpected token \";\", expecting \")\"");
    Error undefined = fn_error("no_such_function(@me)");
    EXPECT_EQ(undefined.field, "Error");
    EXPECT_EQ(undefined.message, "Call to undefined function no_such_function()");
    Error type = fn_error("'' + 1");
    EXPECT_EQ(type.field, "TypeError");
    EXPECT_EQ(type.message, "Unsupported operand types: string + int");
    Error division = fn_error("1 % 0");
    EXPECT_EQ(division.field, "DivisionByZeroError");
    expect_still_working();
}

TEST_F(PhpEvaluatorTest, EndlessLoopEndsAtTheTimeLimit) {
    start();
    php_->set_global("cfg_webname", "站点");
    Error loop = php_error("while (true) {}");
    EXPECT_EQ(loop.field, kPhpFatal);
    EXPECT_EQ(loop.message, "Maximum execution time of 1 second exceeded");
    expect_still_working();
    EXPECT_EQ(fn("$GLOBALS['cfg_webname']", ""), "站点");  // globals survive the restart
    EXPECT_EQ(fn("cn_substr(@me,3)", "深入理解"), "深入");  // and the helpers
}

TEST_F(PhpEvaluatorTest, MemoryLimitIsAnErrorNotACrash) {
    start();
    Error memory = php_error("$a = str_repeat('x', 200 * 1024 * 1024);");
    EXPECT_EQ(memory.field, kPhpFatal);
    EXPECT_TRUE(memory.message.starts_with("Allowed memory size of 67108864 bytes exhausted")) << memory.message;
    expect_still_working();
}

TEST_F(PhpEvaluatorTest, SandboxRefusesWritesProgramsAndNetwork) {
    start();
    const fs::path target = root_ / "templets" / "written.txt";
    const std::string t = target.string();
    const std::vector<std::string> calls = {"file_put_contents('" + t + "', 'x')", "fopen('" + t + "', 'w')",
                             "touch('" + t + "')", "copy('" + (root_ / "templets" / "note.txt").string() + "', '" + t + "')",
                             "mkdir('" + t + "')", "unlink('" + (root_ / "templets" / "note.txt").string() + "')",
                             "exec('touch " + t + "')", "system('id')", "shell_exec('id')", "passthru('id')",
                             "proc_open('id', [], $p)", "popen('id', 'r')", "fsockopen('127.0.0.1', 80)",
                             "stream_socket_client('tcp://127.0.0.1:80')", "mail('a@b.c', 's', 'm')",
                             "putenv('X=1')", "ini_set('open_basedir', '/')", "set_time_limit(0)", "getenv('PATH')",
                             "register_shutdown_function('phpinfo')", "sleep(100000)"};
    for (const std::string& call : calls) {
        std::string name = call.substr(0, call.find('('));
        Error error = fn_error(call);
        EXPECT_EQ(error.message, "Call to undefined function " + name + "()") << call;
    }
    EXPECT_EQ(fn_error("`touch " + t + "`").message, "Call to undefined function shell_exec()");
    EXPECT_EQ(fn_error("(new SplFileObject('" + t + "', 'w'))->fwrite('x')").field, kPhpSandbox);
    EXPECT_FALSE(fs::exists(target));
    EXPECT_TRUE(fs::exists(root_ / "templets" / "note.txt"));
    expect_still_working();
}

TEST_F(PhpEvaluatorTest, SandboxReadsOnlyTheGivenFolders) {
    start();
    EXPECT_EQ(fn("file_get_contents(@me)", (root_ / "templets" / "note.txt").string()), "readable");
    Error passwd = fn_error("file_get_contents('/etc/passwd')");
    EXPECT_EQ(passwd.field, kPhpSandbox);
    EXPECT_TRUE(passwd.message.starts_with("file_get_contents(): open_basedir restriction in effect. "
                                           "File(/etc/passwd) is not within the allowed path(s)"))
        << passwd.message;
    // A sibling whose name starts like an allowed folder is still outside.
    fs::create_directories(root_ / "templets2");
    std::ofstream(root_ / "templets2" / "x.txt") << "x";
    EXPECT_EQ(fn_error("file_get_contents(@me)", (root_ / "templets2" / "x.txt").string()).field, kPhpSandbox);
    EXPECT_EQ(fn_error("file_get_contents(@me)", (outside_ / "secret.txt").string()).field, kPhpSandbox);
    EXPECT_EQ(fn_error("file_get_contents('http://127.0.0.1/')").field, kPhpSandbox);
    EXPECT_EQ(fn_error("file_get_contents('php://stdin')").field, kPhpSandbox);
    EXPECT_EQ(fn_error("include '/etc/passwd'").field, kPhpSandbox);
    EXPECT_EQ(fn("isset($_SERVER['PATH']) || isset($_ENV['PATH']) ? 'environment' : ''", ""), "");
    expect_still_working();
}

TEST_F(PhpEvaluatorTest, SiteFunctionsFileIsLoaded) {
    fs::create_directories(root_ / "site" / "include");
    const fs::path file = root_ / "site" / "include" / "extend.func.php";
    std::ofstream(file) << "<?php if(!defined('DEDEINC')) exit('Request Error!');\n"
                           "function site_wrap($s) { return '[' . $s . ']' . basename(DEDEROOT); }\n";
    PhpOptions options;
    options.site_functions_file = file.string();
    start(options);
    EXPECT_EQ(fn("site_wrap(@me)", "x"), "[x]site");
    EXPECT_EQ(php_->take_output(), "");
}

TEST_F(PhpEvaluatorTest, BrokenSiteFunctionsFileIsAnError) {
    fs::create_directories(root_ / "site" / "include");
    const fs::path file = root_ / "site" / "include" / "extend.func.php";
    std::ofstream(file) << "<?php function broken( {\n";
    PhpOptions options;
    options.readable_dirs = {root_.string()};
    options.site_functions_file = file.string();
    options.now = kFixtureNow;
    auto started = PhpEvaluator::start(options);
    ASSERT_FALSE(started);
    EXPECT_EQ(started.error().message, "the site's functions file does not load: syntax error, unexpected token \"{\", "
                                       "expecting variable");
    EXPECT_EQ(started.error().field, "ParseError");
    start();  // the process can still start another one
    expect_still_working();
}

TEST_F(PhpEvaluatorTest, OnlyOneEvaluatorAtATime) {
    start();
    PhpOptions options;
    options.now = kFixtureNow;
    auto second = PhpEvaluator::start(options);
    ASSERT_FALSE(second);
    EXPECT_EQ(second.error().message, "a PHP evaluator is already running in this process");
}

TEST_F(PhpEvaluatorTest, GbkEditionHelpers) {
    PhpOptions options;
    options.charset = "gbk";
    start(options);
    // "中文AB" in GBK: a cut at 3 bytes keeps the first character only; at 5, both and 'A'.
    const std::string text = "\xD6\xD0\xCE\xC4" "AB";
    EXPECT_EQ(fn("cn_substr(@me,3)", text), "\xD6\xD0");
    EXPECT_EQ(fn("cn_substr(@me,5)", text), "\xD6\xD0\xCE\xC4" "A");
    EXPECT_EQ(fn("cn_substr(@me,10)", "abcdefghijklmnop"), "abcdefghij");
    EXPECT_EQ(fn("html2text(@me)", "a\xA1\xA1<b>b</b>"), "a b ");
}

TEST_F(PhpEvaluatorTest, OtherHelpers) {
    start();
    EXPECT_EQ(fn("GetRankStar(@me)", "3"), "★★★☆☆");
    EXPECT_EQ(fn("GetRankStar(@me)", "0"), "☆☆☆☆☆");
    EXPECT_EQ(fn("GetRankStar(@me)", "7"), "★★★★★★★");
    EXPECT_EQ(fn("RemoveXSS(@me)", "<a onclick=\"x\">a,b</a><script>"), "<a on<x>click=\"x\">ab</a><sc<x>ript>");
    EXPECT_EQ(fn("RemoveXSS(@me)", "&#106;avascript:"), "ja<x>vasc<x>ript:");
    EXPECT_EQ(fn("html2text(@me)", "<style>p{}</style>a&nbsp;b<!-- c -->\r\n\u3000d"), "ab d");
    EXPECT_EQ(fn("Html2Text(@me,1)", "it\\'s <b>x</b>"), "it\\'s x ");
}

}  // namespace
}  // namespace brindle::dede
