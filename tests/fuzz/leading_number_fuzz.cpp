// LeadingNumber against a reference that reads the same text in 64 bits
// and folds it to 32 afterwards.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "capture/naming.h"

namespace {

int32_t Reference(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i++] == '-';
    }
    uint64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = (value * 10 + uint64_t(text[i] - '0')) & 0xFFFFFFFFu;
    }
    uint32_t folded = negative ? uint32_t(0u - uint32_t(value)) : uint32_t(value);
    return static_cast<int32_t>(folded);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    if (LeadingNumber(text) != Reference(text)) {
        std::abort();
    }
    return 0;
}
