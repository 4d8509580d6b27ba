// How captures are numbered and named. Names are byte strings in code
// page 936, the code page the program's texts are written for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct FolderEntry {
    std::string name;
    bool isDirectory;
};

struct CaptureTime {
    int month;
    int day;
    int hour;
    int minute;
};

// The decimal number a name starts with, read like the C library's atoi:
// blanks, an optional sign, digits. Overflow wraps at 32 bits.
int32_t LeadingNumber(std::string_view name);

// Highest leading number among the folder's files, plus one. Empty when the
// highest is already the largest 32-bit value: there is no next number, and
// wrapping would hand out a negative one.
std::optional<int32_t> NextCaptureNumber(const std::vector<FolderEntry>& entries);

// "12、11月09日21时05分.jpg" in code page 936 bytes.
std::string CaptureFileName(int32_t number, const CaptureTime& time);

// folder + "\" + name, or empty when the whole path with its terminator
// would not fit the 260 bytes the platform's ordinary paths allow.
std::optional<std::string> CapturePath(std::string_view folder, std::string_view name);

// folder + "\*.*", the listing that numbering looks through.
std::string CaptureSearchPattern(std::string_view folder);

constexpr size_t kMaxPathBytes = 260;
