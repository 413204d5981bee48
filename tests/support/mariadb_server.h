#pragma once
// A private MariaDB server for the integration tests: mariadbd from Debian's mariadb-server-core, run
// as a normal process in a temporary folder, on a unix socket only (no TCP), with no grant tables
// (anyone who reaches the socket is root). The folder and the process go with the object; should the
// test program die first, the kernel ends the server with it, and the next start removes the folder.
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "common/result.h"
#include "dede/site_address.h"

namespace brindle::test {

class MariaDbServer {
public:
    // Starts the server and waits until it answers.
    static Result<std::unique_ptr<MariaDbServer>> start();
    ~MariaDbServer();
    MariaDbServer(const MariaDbServer&) = delete;
    MariaDbServer& operator=(const MariaDbServer&) = delete;

    // Runs SQL text of any number of statements (a dump) as root, in `database` when one is named.
    Result<void> execute(std::string_view sql, const std::string& database = {}) const;
    Result<void> execute_file(const std::filesystem::path& file, const std::string& database) const;

    // How a backend reaches `database` here.
    dede::MariaDbAddress address(const std::string& database) const;

    pid_t pid() const { return pid_; }
    // From the start of start() to the first answer.
    std::chrono::milliseconds start_time() const { return start_time_; }

private:
    explicit MariaDbServer(std::filesystem::path folder) : folder_(std::move(folder)) {}
    Result<void> launch();
    Result<void> wait_until_answering();
    std::filesystem::path socket() const { return folder_ / "sock"; }

    std::filesystem::path folder_;
    pid_t pid_ = -1;
    std::chrono::milliseconds start_time_{};
};

}  // namespace brindle::test
