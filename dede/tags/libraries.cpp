#include "dede/tags/libraries.h"

#include <cctype>

namespace brindle::dede {

// The page's editor in charge, or the site's default one.
std::string adminname(TagCall& call) {
    Site& site = call.renderer.site();
    auto duty = call.page.fields.find("dutyadmin");
    std::string id = duty == call.page.fields.end() ? "" : duty->second;
    if (id.empty() || id == "0" || id.find_first_not_of("0123456789") != std::string::npos)
        return site.global("cfg_df_dutyadmin");
    auto result = site.database().select(site.sql("SELECT uname FROM `#@__admin` WHERE id='" + id + "'"));
    if (!result || result->rows.empty()) return site.global("cfg_df_dutyadmin");
    return result->rows[0][0].value_or("");
}

std::string url_encoded(std::string_view text) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '_' || c == '.') out += static_cast<char>(c);
        else if (c == ' ') out += '+';
        else out += {'%', kDigits[c >> 4], kDigits[c & 0xF]};
    }
    return out;
}

std::unordered_map<std::string, TagLibrary> tag_libraries() {
    std::unordered_map<std::string, TagLibrary> libraries;
    // The aliases of arclist run its library and keep their own name, which the library reads.
    for (const char* name : {"arclist", "artlist", "likeart", "hotart", "imglist", "imginfolist", "coolart", "specart", "autolist"})
        libraries[name] = arclist;
    libraries["adminname"] = adminname;
    libraries["sql"] = sql;
    libraries["channel"] = channel;
    libraries["type"] = type;
    libraries["myad"] = myad;
    libraries["mytag"] = mytag;
    libraries["flink"] = libraries["friendlink"] = flink;
    libraries["flinktype"] = flinktype;
    libraries["hotwords"] = hotwords;
    libraries["channelartlist"] = channelartlist;
    libraries["tag"] = tag;
    return libraries;
}

}  // namespace brindle::dede
