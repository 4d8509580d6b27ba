#include "capture/naming.h"

#include <cstdio>
#include <limits>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

int32_t LeadingNumber(std::string_view name) {
    size_t i = 0;
    while (i < name.size() && IsBlank(name[i])) {
        ++i;
    }
    bool negative = false;
    if (i < name.size() && (name[i] == '+' || name[i] == '-')) {
        negative = name[i] == '-';
        ++i;
    }
    // Unsigned arithmetic wraps by definition; signed overflow would not.
    uint32_t value = 0;
    for (; i < name.size() && IsDigit(name[i]); ++i) {
        value = value * 10u + static_cast<uint32_t>(name[i] - '0');
    }
    if (negative) {
        value = 0u - value;
    }
    return static_cast<int32_t>(value);
}

std::optional<int32_t> NextCaptureNumber(const std::vector<FolderEntry>& entries) {
    int32_t highest = 0;
    for (const FolderEntry& entry : entries) {
        if (entry.isDirectory || (!entry.name.empty() && entry.name[0] == '.')) {
            continue;
        }
        int32_t number = LeadingNumber(entry.name);
        if (number > highest) {
            highest = number;
        }
    }
    if (highest == std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    return highest + 1;
}

std::string CaptureFileName(int32_t number, const CaptureTime& time) {
    // "、" and the units 月 日 时 分 in code page 936.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer,
                  "%d\xA1\xA2%02d\xD4\xC2%02d\xC8\xD5%02d\xCA\xB1%02d\xB7\xD6.jpg", number,
                  time.month, time.day, time.hour, time.minute);
    return buffer;
}

std::optional<std::string> CapturePath(std::string_view folder, std::string_view name) {
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path.append(folder).append("\\").append(name);
    if (path.size() + 1 > kMaxPathBytes) {
        return std::nullopt;
    }
    return path;
}

std::string CaptureSearchPattern(std::string_view folder) {
    return std::string(folder) + "\\*.*";
}
