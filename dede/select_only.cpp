#include "dede/select_only.h"

#include <algorithm>
#include <array>
#include <string>

#include "common/try.h"

namespace brindle::dede {
namespace {

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

bool is_word_byte(char c) {
    auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' || u == '$' ||
           u >= 0x80;
}

std::string upper(std::string_view word) {
    std::string out(word);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

// Functions whose effect reaches past the rows they return: waits, locks, the server's files,
// sequences.
constexpr std::array kActingFunctions = {
    "BENCHMARK", "GET_LOCK", "LASTVAL", "LOAD_FILE", "MASTER_GTID_WAIT", "MASTER_POS_WAIT", "NEXTVAL",
    "RELEASE_ALL_LOCKS", "RELEASE_LOCK", "SETVAL", "SLEEP",
};

// A word outside strings, quoted names, variables and qualified names, and whether '(' follows it.
struct Word {
    std::string_view text;
    bool called = false;
};

class Lexer {
public:
    explicit Lexer(std::string_view sql) : sql_(sql) {}

    // Moves past blanks and comments.
    Result<void> skip_blanks() {
        while (pos_ < sql_.size()) {
            char c = sql_[pos_];
            std::string_view rest = sql_.substr(pos_);
            if (is_space(c)) {
                ++pos_;
            } else if (c == '#' || (rest.starts_with("--") && (rest.size() == 2 || static_cast<unsigned char>(rest[2]) <= ' '))) {
                size_t end = sql_.find('\n', pos_);
                pos_ = end == std::string_view::npos ? sql_.size() : end + 1;
            } else if (rest.starts_with("/*")) {
                if (rest.starts_with("/*!") || rest.starts_with("/*M!"))
                    return fail("executable comments (/*! ... */) are refused");
                size_t end = sql_.find("*/", pos_ + 2);
                if (end == std::string_view::npos) return fail("a comment is not closed");
                pos_ = end + 2;
            } else {
                break;
            }
        }
        return {};
    }

    // The next word outside strings, comments and quoted names; an empty word at the end of the
    // statement (at ';' or the end of the text).
    Result<Word> next_word() {
        for (;;) {
            BRINDLE_CHECK(skip_blanks());
            if (pos_ >= sql_.size() || sql_[pos_] == ';') return Word{};
            char c = sql_[pos_];
            if (c == '\'' || c == '"' || c == '`') {
                if (!skip_quoted(c)) return fail(c == '`' ? "a quoted name is not closed" : "a string is not closed");
                after_dot_ = false;
            } else if (c == '@') {
                // @variable and @@system_variable: names, not keywords
                while (pos_ < sql_.size() && sql_[pos_] == '@') ++pos_;
                while (pos_ < sql_.size() && (is_word_byte(sql_[pos_]) || sql_[pos_] == '.')) ++pos_;
            } else if (is_word_byte(c)) {
                size_t start = pos_;
                while (pos_ < sql_.size() && is_word_byte(sql_[pos_])) ++pos_;
                bool qualified = after_dot_;
                after_dot_ = false;
                if (qualified) continue;  // t.update is a column, whatever its name
                size_t next = pos_;
                while (next < sql_.size() && is_space(sql_[next])) ++next;
                return Word{sql_.substr(start, pos_ - start), next < sql_.size() && sql_[next] == '('};
            } else {
                after_dot_ = c == '.';
                ++pos_;
            }
        }
    }

    size_t position() const { return pos_; }
    bool at(char c) const { return pos_ < sql_.size() && sql_[pos_] == c; }
    void advance() { ++pos_; }

private:
    // A string or quoted name from its opening quote; a doubled quote stands for itself, and in
    // strings a backslash escapes the next byte.
    bool skip_quoted(char quote) {
        for (size_t i = pos_ + 1; i < sql_.size(); ++i) {
            if (sql_[i] == '\\' && quote != '`') {
                ++i;
            } else if (sql_[i] == quote) {
                if (i + 1 < sql_.size() && sql_[i + 1] == quote) {
                    ++i;
                    continue;
                }
                pos_ = i + 1;
                return true;
            }
        }
        return false;
    }

    std::string_view sql_;
    size_t pos_ = 0;
    bool after_dot_ = false;
};

Result<void> check_word(const Word& word, std::string& previous) {
    std::string name = upper(word.text);
    if (name == "INTO") return fail("SELECT ... INTO is refused: it writes to a file or to variables");
    if (name == "UPDATE" || name == "LOCK" || (previous == "FOR" && name == "SHARE"))
        return fail("row locks (FOR UPDATE, FOR SHARE, LOCK IN SHARE MODE) are refused");
    if (word.called && std::find(kActingFunctions.begin(), kActingFunctions.end(), name) != kActingFunctions.end())
        return fail(name + "() is refused: it acts beyond reading");
    previous = std::move(name);
    return {};
}

}  // namespace

Result<std::string_view> select_only(std::string_view sql) {
    Lexer lexer(sql);
    BRINDLE_TRY(Word first, lexer.next_word());
    if (first.text.empty()) return fail("no statement");
    std::string previous = upper(first.text);
    if (previous != "SELECT") {
        bool keyword = previous.size() <= 20 && std::all_of(previous.begin(), previous.end(), [](char c) {
                           return static_cast<unsigned char>(c) < 0x80;
                       });
        return fail(keyword ? "only SELECT statements are run, not " + previous : "only SELECT statements are run");
    }
    for (;;) {
        BRINDLE_TRY(Word word, lexer.next_word());
        if (word.text.empty()) break;
        BRINDLE_CHECK(check_word(word, previous));
    }
    std::string_view statement = sql.substr(0, lexer.position());
    // Past the ';' only blanks, comments and more ';' may follow.
    for (;;) {
        BRINDLE_CHECK(lexer.skip_blanks());
        if (!lexer.at(';')) break;
        lexer.advance();
    }
    if (lexer.position() < sql.size()) return fail("more than one statement");
    return statement;
}

}  // namespace brindle::dede
