// The settings in config.ini beside the executable, one key at a time and
// never cached: a value the settings dialog writes holds at the next read.
#pragma once

#include <optional>
#include <string>

// Full path of config.ini, or empty when the executable's folder is too
// long for it; the configuration then reads as absent.
std::optional<std::string> ConfigFilePath();

// The key's value, at most 255 characters; empty when it is absent.
std::string ReadSetting(const char* section, const char* key);
void WriteSetting(const char* section, const char* key, const char* value);

// Whether a flag of section "config" reads as the integer 1.
bool SettingIsOn(const char* key);
