#pragma once
// Compiles the application into a program image: the form from the catalogue, the routines of
// every feature, the constants they use and the library table.
#include <filesystem>

#include "common/bytes.h"
#include "common/result.h"

namespace brindle::app {

// `pictures_dir` holds layout1.gif .. layout5.gif and forum_button.gif.
Result<Bytes> compile_application(const std::filesystem::path& pictures_dir);

}  // namespace brindle::app
