#pragma once
// What the embedded PHP is not allowed to do, as PHP settings fixed when the interpreter starts.
#include <string>
#include <string_view>
#include <vector>

namespace brindle::dede {

// Functions removed from PHP: writing files, running programs, network, changing settings or
// limits, reading the environment, and anything that runs code after the call has returned.
const std::vector<std::string_view>& php_disabled_functions();

// Classes that write files or talk to other processes.
const std::vector<std::string_view>& php_disabled_classes();

// The php.ini text the interpreter starts with (no php.ini file is read).
std::string php_sandbox_ini(std::string_view memory_limit);

// open_basedir for these folders: absolute, each ending in '/' so that "/site" does not also admit
// "/site2"; a folder whose name holds ':' cannot be expressed and is an error.
struct OpenBasedir {
    std::string value;
    std::string error;
};
OpenBasedir php_open_basedir(const std::vector<std::string>& dirs);

}  // namespace brindle::dede
