#pragma once
// The launcher's platform on POSIX systems: /proc/self/exe, the per-user runtime directory or $TMPDIR,
// a directory descriptor for everything extracted, dlopen, and stderr plus a desktop dialog for messages.
#include <string>
#include <vector>

#include "launcher/platform.h"

namespace brindle::launcher {

class PosixPlatform : public Platform {
public:
    PosixPlatform() = default;
    PosixPlatform(const PosixPlatform&) = delete;
    PosixPlatform& operator=(const PosixPlatform&) = delete;
    ~PosixPlatform() override;

    std::string executable_path() override;
    std::unique_ptr<InputFile> open_for_reading(const std::string& path) override;
    std::unique_ptr<uint8_t[]> allocate(size_t size) override;
    // $XDG_RUNTIME_DIR when it is usable (absolute, a directory of this user with mode 0700: private
    // and cleared at logout), else $TMPDIR when set, else /tmp.
    std::optional<std::string> temp_directory() override;
    char separator() const override { return '/'; }
    size_t path_limit() const override;
    // mkdir, then one open (O_DIRECTORY | O_NOFOLLOW) whose descriptor is checked: a directory of this
    // user that nobody else can write to. Files are then written with openat relative to it.
    SystemResult<std::unique_ptr<ExtractionDirectory>> open_extraction_directory(const std::string& path) override;
    // mkdtemp (mode 0700); removed by the destructor.
    SystemResult<std::pair<std::string, std::unique_ptr<ExtractionDirectory>>> create_private_directory(
        const std::string& prefix) override;
    void* find_symbol(void* library, const char* name) override;
    // "Error: <message>" and the detail line on stderr, always; then, when a display is there, a dialog
    // with the first of zenity, kdialog and xmessage on PATH that shows it.
    void show_message(std::string_view message, std::string_view detail) override;

private:
    std::vector<std::string> private_directories_;
};

}  // namespace brindle::launcher
