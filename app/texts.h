#pragma once
// Short texts that more than one routine shows, named once.
#include <string_view>

namespace brindle::app {

// What every copy button confirms with.
inline constexpr std::string_view kCopiedMessage = "复制成功！";

// The caption some palette entries give 标签1, pointing at the copy button beside it.
inline constexpr std::string_view kPointToCopy = "←点击复制";

}  // namespace brindle::app
