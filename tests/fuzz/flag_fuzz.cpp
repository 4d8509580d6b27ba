// FlagIsOn against strtoll, which reads the same prefix and saturates
// where the text overflows.
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/config_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string value(reinterpret_cast<const char*>(data), size);
    // strtoll stops at the first NUL, as a value read from an INI file would.
    std::string text = value.substr(0, value.find('\0'));
    errno = 0;
    long long reference = std::strtoll(text.c_str(), nullptr, 10);
    if (FlagIsOn(text) != (reference == 1 && errno == 0)) {
        std::abort();
    }
    return 0;
}
