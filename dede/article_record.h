#pragma once
// One article as DedeCMS reads it for its page: its row of #@__archives with its category's folder
// and channel table, the channel model and its fields, and the row of the channel's own table.
#include <cstdint>

#include "common/result.h"
#include "dede/channel_fields.h"
#include "dede/site.h"

namespace brindle::dede {

struct ArticleRecord {
    int64_t id = 0;
    int typeid_ = 0;
    const Category* category = nullptr;  // none for an article outside every category
    Row fields;   // the archives row (reid, typedir and addtable joined), tags, position, the site's
                  // public fields, and templet, redirecturl, userip from the channel's table
    Row channel;  // its #@__channeltype row
    ChannelFields channel_fields;
    Row own;  // its row of the channel's own table, lower-case names, NULL columns left out

    // The page is /plus/view.php's, not a file the generator writes.
    bool dynamic() const;
};

// The article, or why there is none to show: no such id, a channel that does not exist, or a model
// this engine does not read (single-table models).
Result<ArticleRecord> read_article(const Site& site, int64_t aid);

}  // namespace brindle::dede
