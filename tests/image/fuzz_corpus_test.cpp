// Runs the reader's fuzz entry over the malformed corpus, every truncation of a valid image and a
// bounded set of deterministic mutations of it.
#include <gtest/gtest.h>

#include "malformed_corpus.h"
#include "sample_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

using namespace brindle;
using namespace brindle::image::testing;

TEST(ImageFuzzEntry, CorpusTruncationsAndMutations) {
    for (const MalformedCase& c : malformed_corpus()) LLVMFuzzerTestOneInput(c.bytes.data(), c.bytes.size());
    const Bytes valid = sample_image();
    for (size_t n = 0; n <= valid.size(); n += 7) LLVMFuzzerTestOneInput(valid.data(), n);

    uint64_t state = 0x9E3779B97F4A7C15ull;
    auto next = [&state] {
        state ^= state << 13, state ^= state >> 7, state ^= state << 17;
        return state;
    };
    const uint32_t interesting[] = {0, 1, 4, 8, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFFFFFE,
                                    static_cast<uint32_t>(valid.size())};
    for (int round = 0; round < 3000; ++round) {
        Bytes b = valid;
        const int edits = 1 + int(next() % 3);
        for (int e = 0; e < edits; ++e) {
            const size_t at = next() % (b.size() - 4);
            if (next() % 2) b[at] = uint8_t(next());
            else store_u32le(b.data() + at, interesting[next() % std::size(interesting)]);
        }
        LLVMFuzzerTestOneInput(b.data(), b.size());
    }
    SUCCEED();
}
