#pragma once
// What the preview adds to the pages it serves: the script that reloads a page when a template is
// saved, the list of a page's diagnostics over its top, the site's own host written as the
// preview's, and the pages it answers with when there is no page to show.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brindle::preview {

// The path the reload script listens on (Server-Sent Events).
inline constexpr std::string_view kEventsPath = "/__brindle/events";

std::string html_escape(std::string_view text);

// `addition` placed before the page's last </body> (any case), or at its end when it has none.
std::string before_body_end(std::string html, std::string_view addition);

// The script that subscribes to kEventsPath and reloads the page once a generation after
// `generation` begins.
std::string reload_script(uint64_t generation);

// A bar fixed over the top of the page, one `file:line:column: severity: message` a line; nothing
// for no diagnostics.
std::string diagnostics_overlay(const std::vector<std::string>& diagnostics);

// Every address on `basehost` (the site's cfg_basehost, "http://www.example.com") written on
// `origin` instead, so links the site makes absolute stay in the preview. A longer host that only
// starts the same ("http://www.example.com.cn") is left alone.
std::string with_host(std::string html, std::string_view basehost, std::string_view origin);

// A whole page of the preview's own (a 404 or a 500), in UTF-8, with its lines and a link home.
std::string message_page(std::string_view title, std::string_view explanation, const std::vector<std::string>& lines,
                         std::string_view home);

}  // namespace brindle::preview
