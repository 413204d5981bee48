#include "dede/tags/libraries.h"

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

std::unordered_map<std::string, TagLibrary> tag_libraries() {
    std::unordered_map<std::string, TagLibrary> libraries;
    // The aliases of arclist run its library and keep their own name, which the library reads.
    for (const char* name : {"arclist", "artlist", "likeart", "hotart", "imglist", "imginfolist", "coolart", "specart", "autolist"})
        libraries[name] = arclist;
    libraries["adminname"] = adminname;
    libraries["sql"] = sql;
    libraries["channel"] = channel;
    libraries["type"] = type;
    return libraries;
}

}  // namespace brindle::dede
