#include "tests/support/mariadb_server.h"

#include <fcntl.h>
#include <mysql.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "common/try.h"

namespace brindle::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::string_view kFolderPrefix = "brindle-mariadb-";

// Folders of earlier runs whose test program died before it could remove them (brindle-mariadb-PID-*).
void remove_abandoned_folders(const fs::path& temp) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(temp, error)) {
        std::string name = entry.path().filename().string();
        if (!name.starts_with(kFolderPrefix)) continue;
        pid_t owner = static_cast<pid_t>(std::atol(name.c_str() + kFolderPrefix.size()));
        if (owner > 0 && owner != ::getpid() && ::kill(owner, 0) != 0 && errno == ESRCH) fs::remove_all(entry.path(), error);
    }
}

Result<std::string> find_mariadbd() {
    for (const char* path : {"/usr/sbin/mariadbd", "/usr/bin/mariadbd", "/usr/local/sbin/mariadbd"})
        if (::access(path, X_OK) == 0) return std::string(path);
    return fail("mariadbd not found: install mariadb-server-core (scripts/deps.sh)");
}

std::string last_lines(const fs::path& file, size_t count) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    std::string out;
    for (size_t i = lines.size() > count ? lines.size() - count : 0; i < lines.size(); ++i) out += lines[i] + "\n";
    return out;
}

struct Connection {
    MYSQL* db = mysql_init(nullptr);
    ~Connection() { mysql_close(db); }
};

}  // namespace

Result<std::unique_ptr<MariaDbServer>> MariaDbServer::start() {
    const auto began = Clock::now();
    const fs::path temp = fs::temp_directory_path();
    remove_abandoned_folders(temp);
    std::string pattern = (temp / (std::string(kFolderPrefix) + std::to_string(::getpid()) + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) return fail(std::string("cannot make a folder: ") + std::strerror(errno), pattern);
    std::unique_ptr<MariaDbServer> server(new MariaDbServer(pattern));
    std::error_code error;
    fs::create_directory(server->folder_ / "data", error);
    fs::create_directory(server->folder_ / "tmp", error);
    BRINDLE_CHECK(server->launch());
    BRINDLE_CHECK(server->wait_until_answering());
    server->start_time_ = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - began);
    return server;
}

Result<void> MariaDbServer::launch() {
    BRINDLE_TRY(std::string mariadbd, find_mariadbd());
    const std::string folder = folder_.string();
    // No grant tables: the data folder starts empty and needs no mariadb-install-db. Small InnoDB
    // files keep the first start short; the fixtures are MyISAM, as DedeCMS's tables are. sql_mode ''
    // is what DedeCMS sets, and its dumps load under it.
    std::vector<std::string> arguments = {
        mariadbd,
        "--no-defaults",
        "--user=root",
        "--datadir=" + folder + "/data",
        "--tmpdir=" + folder + "/tmp",
        "--socket=" + socket().string(),
        "--skip-networking",
        "--skip-grant-tables",
        "--pid-file=" + folder + "/mariadbd.pid",
        "--log-error=" + folder + "/error.log",
        "--character-set-server=utf8mb4",
        "--collation-server=utf8mb4_general_ci",
        "--sql-mode=",
        "--skip-log-bin",
        "--performance-schema=OFF",
        "--innodb-buffer-pool-size=8M",
        "--innodb-log-file-size=4M",
        "--innodb-data-file-path=ibdata1:4M:autoextend",
        "--innodb-temp-data-file-path=ibtmp1:4M:autoextend",
    };
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const std::string output = folder + "/mariadbd.out";
    const pid_t parent = ::getpid();

    pid_ = ::fork();
    if (pid_ < 0) return fail(std::string("cannot start mariadbd: ") + std::strerror(errno));
    if (pid_ == 0) {
        // The server ends with the test program, however that ends.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) ::_exit(127);
        int out = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out >= 0) {
            ::dup2(out, STDOUT_FILENO);
            ::dup2(out, STDERR_FILENO);
        }
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return {};
}

Result<void> MariaDbServer::wait_until_answering() {
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while (Clock::now() < deadline) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return fail("mariadbd ended at start (status " + std::to_string(status) + "):\n" +
                        last_lines(folder_ / "error.log", 15) + last_lines(folder_ / "mariadbd.out", 5));
        }
        Connection probe;
        if (!probe.db) return fail("out of memory");
        unsigned int timeout = 2;
        mysql_optionsv(probe.db, MYSQL_OPT_CONNECT_TIMEOUT, &timeout);
        if (mysql_real_connect(probe.db, "localhost", "root", nullptr, nullptr, 0, socket().c_str(), 0)) return {};
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return fail("mariadbd did not answer within 60 s:\n" + last_lines(folder_ / "error.log", 15));
}

MariaDbServer::~MariaDbServer() {
    // Killed, not shut down: the data is thrown away with the folder, and a clean shutdown would
    // cost longer than the tests.
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    std::error_code error;
    fs::remove_all(folder_, error);
}

Result<void> MariaDbServer::execute(std::string_view sql, const std::string& database) const {
    Connection connection;
    if (!connection.db) return fail("out of memory");
    if (!mysql_real_connect(connection.db, "localhost", "root", nullptr, database.empty() ? nullptr : database.c_str(), 0,
                            socket().c_str(), CLIENT_MULTI_STATEMENTS))
        return fail(mysql_error(connection.db), "connect");
    int statement = 1;
    int status = mysql_real_query(connection.db, sql.data(), sql.size());
    for (;; ++statement) {
        if (status != 0) return fail(mysql_error(connection.db), "statement " + std::to_string(statement));
        if (MYSQL_RES* rows = mysql_store_result(connection.db)) mysql_free_result(rows);
        status = mysql_next_result(connection.db);
        if (status < 0) return {};
    }
}

Result<void> MariaDbServer::execute_file(const fs::path& file, const std::string& database) const {
    std::ifstream in(file, std::ios::binary);
    if (!in) return fail("cannot read", file.string());
    std::ostringstream text;
    text << in.rdbuf();
    return execute(text.str(), database);
}

dede::MariaDbAddress MariaDbServer::address(const std::string& database) const {
    dede::MariaDbAddress address;
    address.user = "root";
    address.host = "localhost";
    address.database = database;
    address.socket = socket().string();
    return address;
}

}  // namespace brindle::test
