#pragma once
// Property blobs of the element kinds: decode into Properties and encode back to the same bytes, so
// an image read and written again is unchanged.
#include <cstdint>
#include <optional>

#include "common/bytes.h"
#include "common/result.h"
#include "image/form_model.h"

namespace brindle::image {

// True for the twelve kinds that carry a property blob (every known kind but the menu item).
bool kind_has_blob(uint32_t kind);
// True for the thirteen kinds a form may hold.
bool is_known_kind(uint32_t kind);
// The blob version a kind's blob starts with.
std::optional<uint32_t> blob_version(uint32_t kind);

// `base_offset` is the blob's offset in the whole image, for errors.
Result<Properties> decode_properties(uint32_t kind, ByteView blob, uint64_t base_offset = 0);
Result<Bytes> encode_properties(uint32_t kind, const Properties& properties);

// A blob with this image's style values for the kind, ready for its readable fields.
Properties default_properties(uint32_t kind);

// Named style words, read from and written into `style` at the kind's offsets.
// Each getter yields nothing when the kind has no such word or the style bytes are too short.
std::optional<uint32_t> text_colour(uint32_t kind, const Properties& p);       // label
std::optional<uint32_t> background_colour(uint32_t kind, const Properties& p); // edit box, combo box
std::optional<bool> multiline(uint32_t kind, const Properties& p);             // edit box
std::optional<bool> checked(uint32_t kind, const Properties& p);               // radio box
bool set_text_colour(uint32_t kind, Properties& p, uint32_t colour);
bool set_background_colour(uint32_t kind, Properties& p, uint32_t colour);
bool set_multiline(uint32_t kind, Properties& p, bool on);
bool set_checked(uint32_t kind, Properties& p, bool on);

}  // namespace brindle::image
