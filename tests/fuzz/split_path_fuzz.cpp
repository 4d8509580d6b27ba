// SplitPath on arbitrary bytes read as code page 936: the parts put back
// together give the path again, the folder ends on a real separator and
// the configuration path never outgrows the platform's limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/config_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string path(reinterpret_cast<const char*>(data), size);
    PathParts parts = SplitPath(path, IsCp936LeadByte);
    for (const std::string* part :
         {&parts.drive, &parts.folder, &parts.baseName, &parts.extension}) {
        if (part->size() > 255) {
            std::abort();
        }
    }
    bool uncut =
        parts.folder.size() < 255 && parts.baseName.size() < 255 && parts.extension.size() < 255;
    if (uncut && parts.drive + parts.folder + parts.baseName + parts.extension != path) {
        std::abort();
    }
    if (!parts.folder.empty() && parts.folder.size() < 255) {
        char last = parts.folder.back();
        if (last != '\\' && last != '/') {
            std::abort();
        }
    }
    std::optional<std::string> config = ConfigPathFor(path, IsCp936LeadByte);
    if (config &&
        (config->size() >= 260 || config->substr(config->size() - 11) != "\\config.ini")) {
        std::abort();
    }
    return 0;
}
