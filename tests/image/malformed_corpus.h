#pragma once
// Broken images, one per structural rule, each with the field its error must name.
#include <string>
#include <vector>

#include "common/bytes.h"

namespace brindle::image::testing {

struct MalformedCase {
    std::string rule;     // what the case breaks
    Bytes bytes;
    std::string field;    // the field the error names
    uint64_t offset;      // the image offset the error names
};

std::vector<MalformedCase> malformed_corpus();

}  // namespace brindle::image::testing
