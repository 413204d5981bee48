#include "dede/serve/page_decoration.h"

namespace brindle::preview {
namespace {

bool host_character(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == ':' || c == '_' || c == '@';
}

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string html_escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string before_body_end(std::string html, std::string_view addition) {
    constexpr std::string_view kEnd = "</body>";
    for (size_t at = html.size() >= kEnd.size() ? html.size() - kEnd.size() + 1 : 0; at-- > 0;) {
        size_t k = 0;
        while (k < kEnd.size() && lower(html[at + k]) == kEnd[k]) ++k;
        if (k == kEnd.size()) return html.insert(at, addition);
    }
    return html.append(addition);
}

std::string reload_script(uint64_t generation) {
    return "<script>/* brindle-preview: reloads this page when a template is saved */\n"
           "new EventSource(\"" +
           std::string(kEventsPath) + "?since=" + std::to_string(generation) +
           "\").onmessage = function () { this.close(); location.reload(); };\n</script>\n";
}

std::string diagnostics_overlay(const std::vector<std::string>& diagnostics) {
    if (diagnostics.empty()) return {};
    std::string out =
        "<div id=\"brindle-diagnostics\" style=\"all:initial;position:fixed;top:0;left:0;right:0;z-index:2147483647;"
        "max-height:45vh;overflow:auto;box-sizing:border-box;padding:8px 40px 8px 12px;background:#fff4f2;"
        "border-bottom:3px solid #c62828;color:#7f1010;font:13px/1.5 monospace;white-space:pre-wrap\">"
        "<button onclick=\"this.parentNode.remove()\" title=\"Hide\" style=\"position:absolute;top:4px;right:8px;"
        "border:0;background:none;font:18px monospace;cursor:pointer;color:#7f1010\">&times;</button>";
    out += "<strong>" + std::to_string(diagnostics.size()) + (diagnostics.size() == 1 ? " problem" : " problems") +
           " in the templates of this page</strong>\n";
    for (const std::string& line : diagnostics) out += html_escape(line) + "\n";
    return out + "</div>\n";
}

std::string with_host(std::string html, std::string_view basehost, std::string_view origin) {
    while (basehost.ends_with('/')) basehost.remove_suffix(1);
    if (basehost.empty()) return html;
    std::string out;
    size_t from = 0;
    for (size_t at = html.find(basehost); at != std::string::npos;) {
        size_t end = at + basehost.size();
        if (end < html.size() && host_character(html[end])) {
            at = html.find(basehost, at + 1);
            continue;
        }
        out.append(html, from, at - from).append(origin);
        from = end;
        at = html.find(basehost, end);
    }
    return from == 0 ? html : out.append(html, from);
}

std::string message_page(std::string_view title, std::string_view explanation, const std::vector<std::string>& lines,
                         std::string_view home) {
    std::string out =
        "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\" />\n<title>" + html_escape(title) +
        "</title>\n</head>\n<body style=\"font:15px/1.6 sans-serif;margin:32px\">\n<h1 style=\"font-size:22px\">" +
        html_escape(title) + "</h1>\n<p>" + html_escape(explanation) + "</p>\n";
    if (!lines.empty()) {
        out += "<pre style=\"background:#fff4f2;border-left:3px solid #c62828;padding:8px 12px;white-space:pre-wrap\">";
        for (const std::string& line : lines) out += html_escape(line) + "\n";
        out += "</pre>\n";
    }
    return out + "<p><a href=\"" + html_escape(home) + "\">The home page</a></p>\n</body>\n</html>\n";
}

}  // namespace brindle::preview
