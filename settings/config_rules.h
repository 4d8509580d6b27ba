// Where config.ini lives and how its flag values read. Paths are byte
// strings in the ANSI code page, which may be a double-byte one.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Tells whether a byte starts a double-byte character of the code page.
using LeadByteTest = bool (*)(unsigned char byte);

struct PathParts {
    std::string drive;
    std::string folder;
    std::string baseName;
    std::string extension;
};

// Splits like the C runtime's _splitpath: "\" and "/" separate, the drive is
// "X:" when the second character is a colon, the folder keeps its leading
// and trailing separator. The trail byte of a double-byte character is never
// taken for a separator or a dot. Each part is cut to 255 bytes.
PathParts SplitPath(std::string_view path, LeadByteTest isLeadByte);

// drive + folder + "\config.ini" for the executable at modulePath; empty
// when that does not fit in 260 bytes with its terminator, so that an
// over-long install reads as having no configuration rather than another
// folder's.
std::optional<std::string> ConfigPathFor(std::string_view modulePath, LeadByteTest isLeadByte);

// A flag is on when its text reads as the integer 1 the way atoi reads
// it: blanks, an optional sign, digits up to the first other character.
// A value too large for an int is not 1.
bool FlagIsOn(std::string_view value);

// Code page 936's lead bytes, for tests and tools that run off Windows.
bool IsCp936LeadByte(unsigned char byte);
