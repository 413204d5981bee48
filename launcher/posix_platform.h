#pragma once
// The launcher's platform on POSIX systems: /proc/self/exe, $TMPDIR, dlopen, and stderr for messages.
#include "launcher/platform.h"

namespace brindle::launcher {

class PosixPlatform : public Platform {
public:
    std::string executable_path() override;
    std::unique_ptr<InputFile> open_for_reading(const std::string& path) override;
    std::unique_ptr<uint8_t[]> allocate(size_t size) override;
    std::optional<std::string> temp_directory() override;
    char separator() const override { return '/'; }
    size_t path_limit() const override;
    bool prepare_directory(const std::string& path) override;
    bool write_file(const std::string& path, ByteView content) override;
    void* load_library(const std::string& path) override;
    void* find_symbol(void* library, const char* name) override;
    // "Error: <message>" on stderr, and a desktop dialog when a display and zenity are there.
    void show_message(std::string_view message) override;
};

}  // namespace brindle::launcher
