#pragma once
// The operations the launch sequence needs from the system, so the sequence can run against fakes.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/bytes.h"

namespace brindle::launcher {

class InputFile {
public:
    virtual ~InputFile() = default;
    virtual std::optional<uint64_t> size() = 0;
    // Reads up to out.size() bytes at offset; the count delivered, or none when the read fails.
    virtual std::optional<size_t> read_at(uint64_t offset, std::span<uint8_t> out) = 0;
};

class Platform {
public:
    virtual ~Platform() = default;

    // The running executable's own file; empty when the system cannot tell.
    virtual std::string executable_path() = 0;
    virtual std::unique_ptr<InputFile> open_for_reading(const std::string& path) = 0;
    // Null when the memory is not available.
    virtual std::unique_ptr<uint8_t[]> allocate(size_t size) = 0;
    // The temporary-files directory with its trailing separator; none when the system has none.
    virtual std::optional<std::string> temp_directory() = 0;
    virtual char separator() const = 0;
    // The longest path the system takes, its terminating NUL included.
    virtual size_t path_limit() const = 0;
    // Creates the extraction directory, or accepts an existing one only when it is safe to write into.
    virtual bool prepare_directory(const std::string& path) = 0;
    // Creates (or replaces) the file and writes all of content; false when that failed.
    virtual bool write_file(const std::string& path, ByteView content) = 0;
    virtual void* load_library(const std::string& path) = 0;
    virtual void* find_symbol(void* library, const char* name) = 0;
    // The one failure report of a launch.
    virtual void show_message(std::string_view message) = 0;
};

}  // namespace brindle::launcher
