// The picture header reader: it never reads past the bytes, a size it finds is fixed by the bytes it
// read (more bytes after them change nothing), and the limit follows the size.
#include <vector>

#include "fuzz/check.h"
#include "skin/picture_header.h"

using namespace skin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> copy(data, data + size);
    const std::string_view bytes(copy.data(), copy.size());
    const std::optional<PictureSize> found = DeclaredPictureSize(bytes);
    const bool within = PictureWithinLimits(bytes);
    CHECK(within == PictureWithinLimits(bytes));
    if (!found) return 0;
    CHECK(within == (static_cast<uint64_t>(found->width) * found->height <= kMaxPicturePixels));

    for (const std::string_view tail :
         {std::string_view("\0\0\0\0\0\0\0\0", 8), std::string_view("\xff\xc0\x00\x11")}) {
        std::vector<char> longer(copy);
        longer.insert(longer.end(), tail.begin(), tail.end());
        const std::optional<PictureSize> again =
            DeclaredPictureSize(std::string_view(longer.data(), longer.size()));
        CHECK(again && again->width == found->width && again->height == found->height);
    }
    return 0;
}
