#pragma once
// Chromium without a screen, for the tests and benchmarks that need a real browser: it opens one
// page, and its DevTools endpoint (/json/list, plain HTTP) tells the titles of the pages it shows.
// The browser and its private profile go with the object; should the program die first, the kernel
// ends the browser with it.
#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/result.h"

namespace brindle::test {

class HeadlessChromium {
public:
    // chromium, else chromium-headless-shell, on PATH; none when neither is installed.
    static std::optional<std::filesystem::path> find();
    // Starts the browser on `url` and waits until its DevTools endpoint answers.
    static Result<std::unique_ptr<HeadlessChromium>> start(const std::filesystem::path& browser,
                                                           const std::string& url);
    ~HeadlessChromium();
    HeadlessChromium(const HeadlessChromium&) = delete;
    HeadlessChromium& operator=(const HeadlessChromium&) = delete;

    // The titles of the pages (tabs) it shows now.
    Result<std::vector<std::string>> page_titles() const;

private:
    explicit HeadlessChromium(std::filesystem::path profile) : profile_(std::move(profile)) {}

    std::filesystem::path profile_;
    pid_t pid_ = -1;
    int devtools_port_ = 0;
};

}  // namespace brindle::test
