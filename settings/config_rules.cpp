#include "settings/config_rules.h"

#include <algorithm>

namespace {

constexpr size_t kMaxPart = 255;
constexpr size_t kMaxPathBytes = 260;

std::string Cut(std::string_view part) {
    return std::string(part.substr(0, std::min(part.size(), kMaxPart)));
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

PathParts SplitPath(std::string_view path, LeadByteTest isLeadByte) {
    PathParts parts;
    if (path.size() >= 2 && path[1] == ':') {
        parts.drive = Cut(path.substr(0, 2));
        path.remove_prefix(2);
    }
    // Walk whole characters so a trail byte equal to '\' or '.' is skipped.
    size_t folderEnd = 0;
    size_t lastDot = std::string_view::npos;
    for (size_t i = 0; i < path.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(path[i]);
        if (isLeadByte(c) && i + 1 < path.size()) {
            ++i;
            continue;
        }
        if (c == '\\' || c == '/') {
            folderEnd = i + 1;
            lastDot = std::string_view::npos;
        } else if (c == '.') {
            lastDot = i;
        }
    }
    parts.folder = Cut(path.substr(0, folderEnd));
    std::string_view file = path.substr(folderEnd);
    if (lastDot != std::string_view::npos) {
        size_t dot = lastDot - folderEnd;
        parts.baseName = Cut(file.substr(0, dot));
        parts.extension = Cut(file.substr(dot));
    } else {
        parts.baseName = Cut(file);
    }
    return parts;
}

std::optional<std::string> ConfigPathFor(std::string_view modulePath, LeadByteTest isLeadByte) {
    PathParts parts = SplitPath(modulePath, isLeadByte);
    // The folder keeps its trailing separator, so the joined path carries a
    // doubled one before the name; the file functions read it as one.
    std::string path = parts.drive + parts.folder + "\\config.ini";
    if (path.size() + 1 > kMaxPathBytes) {
        return std::nullopt;
    }
    return path;
}

bool FlagIsOn(std::string_view value) {
    size_t i = 0;
    while (i < value.size() && IsBlank(value[i])) {
        ++i;
    }
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) {
        if (value[i] == '-') {
            return false;
        }
        ++i;
    }
    while (i < value.size() && value[i] == '0') {
        ++i;
    }
    if (i >= value.size() || value[i] != '1') {
        return false;
    }
    ++i;
    return i >= value.size() || value[i] < '0' || value[i] > '9';
}

bool IsCp936LeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}
