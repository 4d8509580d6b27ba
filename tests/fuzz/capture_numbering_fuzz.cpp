// A folder listing made of the input's lines: the next number is always
// above every counted file's number, and a name built from it fits the
// path whenever the folder leaves room for it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "capture/naming.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<FolderEntry> entries;
    std::string line;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            // A trailing '/' marks a directory, so both kinds occur.
            bool directory = !line.empty() && line.back() == '/';
            entries.push_back({line, directory});
            line.clear();
        } else {
            line.push_back(static_cast<char>(data[i]));
        }
    }
    entries.push_back({line, false});

    std::optional<int32_t> next = NextCaptureNumber(entries);
    bool largestSeen = false;
    for (const FolderEntry& entry : entries) {
        if (entry.isDirectory || (!entry.name.empty() && entry.name[0] == '.')) {
            continue;
        }
        int32_t number = LeadingNumber(entry.name);
        largestSeen = largestSeen || number == INT32_MAX;
        if (next && number >= *next) {
            std::abort();
        }
    }
    // No next number exactly when a counted file already has the largest.
    if (next.has_value() == largestSeen) {
        std::abort();
    }
    if (next) {
        if (*next < 1) {
            std::abort();
        }
        std::string name = CaptureFileName(*next, {12, 31, 23, 59});
        std::string folder = entries.front().name.substr(0, 255);
        std::optional<std::string> path = CapturePath(folder, name);
        bool fits = folder.size() + 1 + name.size() + 1 <= kMaxPathBytes;
        if (path.has_value() != fits || (path && path->size() >= kMaxPathBytes)) {
            std::abort();
        }
    }
    return 0;
}
