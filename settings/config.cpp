#include "settings/config.h"

#include <windows.h>

#include "settings/config_rules.h"

namespace {

bool IsAnsiLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}

}  // namespace

std::optional<std::string> ConfigFilePath() {
    char module[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
    // A full buffer means the name was cut: its folder cannot be trusted.
    if (length == 0 || length >= MAX_PATH) {
        return std::nullopt;
    }
    return ConfigPathFor(std::string(module, length), IsAnsiLeadByte);
}

std::string ReadSetting(const char* section, const char* key) {
    std::optional<std::string> path = ConfigFilePath();
    if (!path) {
        return {};
    }
    char value[256] = {};
    GetPrivateProfileStringA(section, key, nullptr, value, sizeof value, path->c_str());
    return value;
}

void WriteSetting(const char* section, const char* key, const char* value) {
    std::optional<std::string> path = ConfigFilePath();
    if (path) {
        WritePrivateProfileStringA(section, key, value, path->c_str());
    }
}

bool SettingIsOn(const char* key) {
    return FlagIsOn(ReadSetting("config", key));
}
