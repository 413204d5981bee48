#include "tools/pack/pack_tool.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "common/exit_status.h"
#include "common/input_file.h"
#include "common/output_file.h"
#include "launcher/container_reader.h"
#include "launcher/container_writer.h"

namespace brindle::pack {
namespace {

constexpr const char* kUsage =
    "usage: brindle-pack [--dir NAME] [--id HEX] [--key HEX8] --out OUT LAUNCHER FILE...\n"
    "       brindle-pack --list EXE\n"
    "  FILE is stored under its base name; NAME=PATH stores PATH under NAME.\n"
    "  --key gives the key bytes k0 k1 k2 k3 in that order; without --id/--key both derive from the files.\n";

struct PackOptions {
    std::string dir_name;
    std::optional<uint32_t> payload_id;
    std::optional<container::Key> key;
    std::string out;
    std::string launcher;
    std::vector<std::string> files;
};

std::optional<uint32_t> parse_hex(std::string_view text, size_t min_digits, size_t max_digits) {
    if (text.size() < min_digits || text.size() > max_digits) return std::nullopt;
    uint32_t value = 0;
    for (char c : text) {
        int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (digit < 0) return std::nullopt;
        value = value << 4 | static_cast<uint32_t>(digit);
    }
    return value;
}

std::string base_name(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int report(std::ostream& err, const Error& e, int status = kExitFailed) {
    err << "brindle-pack: " << e.describe() << "\n";
    return status;
}

// A path that cannot be read or written: status 2, as for every tool.
int report_path(std::ostream& err, const Error& e) { return report(err, e, kExitBadPath); }

std::string key_hex(const container::Key& key) {
    char text[9];
    std::snprintf(text, sizeof text, "%02X%02X%02X%02X", key[0], key[1], key[2], key[3]);
    return text;
}

int list(const std::string& path, std::ostream& out, std::ostream& err) {
    auto file = read_input_file(path);
    if (!file) return report_path(err, file.error());
    auto c = container::read_container(*file);
    if (!c) {
        Error e = c.error();
        e.field = path + ": " + e.field;
        return report(err, e);
    }
    char id[11];
    std::snprintf(id, sizeof id, "0x%08X", c->payload_id);
    out << "payload id: " << id << "\n";
    out << "key: " << key_hex(c->key) << "\n";
    out << "directory: " << c->dir.name << (c->dir.is_default ? " (default)" : "") << "\n";
    for (const container::PayloadFile& f : c->files) out << f.name << " " << f.content.size() << "\n";
    return kExitOk;
}

int pack(const PackOptions& options, std::ostream& err) {
    struct stat launcher_stat;
    if (::stat(options.launcher.c_str(), &launcher_stat) != 0)
        return report_path(err, Error{std::strerror(errno), options.launcher});
    auto launcher = read_input_file(options.launcher);
    if (!launcher) return report_path(err, launcher.error());

    std::vector<container::PayloadFile> files;
    bool has_kernel = false;
    for (const std::string& arg : options.files) {
        size_t eq = arg.find('=');
        std::string name = eq == std::string::npos ? base_name(arg) : arg.substr(0, eq);
        std::string path = eq == std::string::npos ? arg : arg.substr(eq + 1);
        if (!container::is_plain_file_name(name))
            return report(err, Error{"not a plain file name: \"" + name + "\"", arg});
        auto content = read_input_file(path);
        if (!content) return report_path(err, content.error());
        if (content->size() >= container::kSizeLimit)
            return report(err, Error{"2 GiB or larger: too large for a payload", path});
        has_kernel = has_kernel || container::is_kernel_name(name);
        files.push_back({std::move(name), std::move(*content)});
    }
    if (!has_kernel) err << "brindle-pack: warning: no file is named rtcore.rlb or rtcore.xlb; the launcher will refuse it\n";

    Bytes list = container::serialize_file_list(files);
    container::ContainerSettings settings;
    settings.dir_name = options.dir_name;
    settings.payload_id = options.payload_id.value_or(container::derive_payload_id(list, options.dir_name));
    settings.key = options.key.value_or(container::derive_key(list));
    auto block = container::build_container(list, settings);
    if (!block) return report(err, block.error());
    auto exe = container::append_container(*launcher, *block);
    if (!exe) return report(err, exe.error());
    auto written = write_file_atomically(options.out, *exe, launcher_stat.st_mode & 0777);
    if (!written) return report_path(err, written.error());
    return kExitOk;
}

int usage(std::ostream& err, const std::string& problem) {
    err << "brindle-pack: " << problem << "\n" << kUsage;
    return kExitUsage;
}

}  // namespace

int run(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    if (args.size() == 2 && args[0] == "--list") return list(args[1], out, err);

    PackOptions options;
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool takes_value = arg == "--dir" || arg == "--id" || arg == "--key" || arg == "--out";
        if (!takes_value) {
            if (arg.starts_with("--")) return usage(err, "unknown option " + arg);
            positional.push_back(arg);
            continue;
        }
        if (i + 1 >= args.size()) return usage(err, arg + " needs a value");
        const std::string& value = args[++i];
        if (arg == "--dir") {
            if (!value.empty() && !container::is_plain_file_name(value))
                return usage(err, "--dir must be a plain file name: \"" + value + "\"");
            options.dir_name = value;
        } else if (arg == "--id") {
            options.payload_id = parse_hex(value, 1, 8);
            if (!options.payload_id) return usage(err, "--id needs 1 to 8 hex digits: " + value);
        } else if (arg == "--key") {
            auto bytes = parse_hex(value, 8, 8);
            if (!bytes) return usage(err, "--key needs exactly 8 hex digits: " + value);
            options.key = container::Key{uint8_t(*bytes >> 24), uint8_t(*bytes >> 16), uint8_t(*bytes >> 8), uint8_t(*bytes)};
        } else {
            options.out = value;
        }
    }
    if (options.out.empty()) return usage(err, "--out is required");
    if (positional.size() < 2) return usage(err, "needs a launcher and at least one file");
    options.launcher = positional[0];
    options.files.assign(positional.begin() + 1, positional.end());
    return pack(options, err);
}

}  // namespace brindle::pack
