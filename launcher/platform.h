#pragma once
// The operations the launch sequence needs from the system, so the sequence can run against fakes.
#include <cstddef>
#include <cstdint>
#include <expected>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "common/bytes.h"

namespace brindle::launcher {

class InputFile {
public:
    virtual ~InputFile() = default;
    virtual std::optional<uint64_t> size() = 0;
    // Reads up to out.size() bytes at offset; the count delivered, or none when the read fails.
    virtual std::optional<size_t> read_at(uint64_t offset, std::span<uint8_t> out) = 0;
};

// Why the system refused: the reason for the user ("owned by another user", "No space left on device"),
// and whether it was a name or path the system cannot take at all.
struct SystemFailure {
    std::string reason;
    bool name_too_long = false;
};

template <class T>
using SystemResult = std::expected<T, SystemFailure>;

// A file just written into the extraction directory, still open: what is loaded is what was written,
// whatever happens to the name afterwards.
class WrittenFile {
public:
    virtual ~WrittenFile() = default;
    // Loads the file as a library; the library handle, or the system's reason.
    virtual std::expected<void*, std::string> load_library() = 0;
};

// The extraction directory, opened once and checked as opened; every file goes in relative to it.
class ExtractionDirectory {
public:
    virtual ~ExtractionDirectory() = default;
    // Creates or replaces the file `name` (a plain name) with all of content, never through a link.
    virtual SystemResult<std::unique_ptr<WrittenFile>> write_file(std::string_view name, ByteView content) = 0;
};

class Platform {
public:
    virtual ~Platform() = default;

    // The running executable's own file; empty when the system cannot tell.
    virtual std::string executable_path() = 0;
    virtual std::unique_ptr<InputFile> open_for_reading(const std::string& path) = 0;
    // Null when the memory is not available.
    virtual std::unique_ptr<uint8_t[]> allocate(size_t size) = 0;
    // The directory that receives the extraction directory, with its trailing separator; none when
    // the system has none.
    virtual std::optional<std::string> temp_directory() = 0;
    virtual char separator() const = 0;
    // The longest path the system takes, its terminating NUL included.
    virtual size_t path_limit() const = 0;
    // Creates the extraction directory, or opens an existing one only when it is safe to write into.
    virtual SystemResult<std::unique_ptr<ExtractionDirectory>> open_extraction_directory(const std::string& path) = 0;
    // A new directory of this user's alone, named `prefix` and a unique ending, for when the directory
    // at the usual name is not safe to use. It is removed, with what was written into it, when the
    // platform goes. Its path, and the directory.
    virtual SystemResult<std::pair<std::string, std::unique_ptr<ExtractionDirectory>>> create_private_directory(
        const std::string& prefix) = 0;
    virtual void* find_symbol(void* library, const char* name) = 0;
    // The one failure report of a launch: the message, and a second line with the path and reason
    // when there is one (empty otherwise).
    virtual void show_message(std::string_view message, std::string_view detail) = 0;
};

}  // namespace brindle::launcher
