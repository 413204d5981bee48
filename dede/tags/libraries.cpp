#include "dede/tags/libraries.h"

#include <cctype>

#include "common/gbk.h"
#include "dede/php_text.h"

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

// DedeCMS's QR code widget for the page: its script finds the page by kind and id.
std::string qrcode(TagCall& call) {
    Site& site = call.renderer.site();
    std::string type(call.tag.attributes.get("type")), id(call.tag.attributes.get("id"));
    if (type.empty() && id.empty()) {
        auto field = call.page.fields.find("id");
        const std::string page_id = field == call.page.fields.end() ? "" : field->second;
        if (call.page.view == Page::View::Article) type = "arc", id = page_id;
        else if (call.page.view == Page::View::List || (!page_id.empty() && page_id != "0")) type = "list", id = page_id;
        else type = "index", id = "0";
    }
    const std::string number = call.renderer.global("qrcode_id").empty() ? "1" : call.renderer.global("qrcode_id");
    const std::string plus = site.global("cfg_plus_dir");
    call.renderer.set_global("qrcode_id", std::to_string(php_int(number) + 1));
    return "  <a href='http://2v.dedecms.com/' id='__dedeqrcode_" + number + "'>织梦二维码生成器</a>\r\n"
           "  <script type=\"text/javascript\">\r\n"
           "  \tvar __dedeqrcode_id=" + number + ";\r\n"
           "  \tvar __dedeqrcode_aid=" + id + ";\r\n"
           "  \tvar __dedeqrcode_type='" + type + "';\r\n"
           "  \tvar __dedeqrcode_dir='" + plus + "';\r\n"
           "  </script>\r\n"
           "  <script language=\"javascript\" type=\"text/javascript\" src=\"" + plus + "/img/qrcode.js\"></script>";
}

std::string url_encoded(std::string_view text, SiteCharset charset) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const std::string bytes = charset == SiteCharset::gbk ? utf8_to_gb18030(text) : std::string(text);
    std::string out;
    for (unsigned char c : bytes) {
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
    libraries["qrcode"] = qrcode;
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
    libraries["likearticle"] = likearticle;
    return libraries;
}

}  // namespace brindle::dede
