// Picks an encoder out of the platform's list by MIME type. Written over
// any record with Clsid and MimeType members, so it runs off Windows too.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdlib>

// Exact, case-sensitive comparison of two NUL-terminated UTF-16 strings.
template <typename Char>
bool SameMimeType(const Char* a, const Char* b) {
    if (a == nullptr || b == nullptr) {
        return false;
    }
    for (; *a == *b; ++a, ++b) {
        if (*a == 0) {
            return true;
        }
    }
    return false;
}

// Index of the first record whose MIME type matches, or -1.
template <typename Record, typename Char>
int FindMimeTypeIndex(const Record* records, size_t count, const Char* mimeType) {
    for (size_t i = 0; i < count; ++i) {
        if (SameMimeType(records[i].MimeType, mimeType)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// The whole lookup over a source of the encoder list: source.GetSize(count,
// bytes) reports the list, source.GetList(count, bytes, block) fills a block
// of that size. Nothing is allocated for an empty list; clsidOut is written
// only on a match. A count larger than the block can hold is not trusted.
template <typename Record, typename Source, typename Char, typename Id>
int FindEncoderIn(Source& source, const Char* mimeType, Id* clsidOut) {
    unsigned count = 0;
    unsigned bytes = 0;
    source.GetSize(count, bytes);
    if (bytes == 0) {
        return -1;
    }
    void* block = std::malloc(bytes);
    if (block == nullptr) {
        return -1;
    }
    source.GetList(count, bytes, block);
    const auto* records = static_cast<const Record*>(block);
    size_t usable = std::min<size_t>(count, bytes / sizeof(Record));
    int index = FindMimeTypeIndex(records, usable, mimeType);
    if (index >= 0) {
        *clsidOut = records[index].Clsid;
    }
    std::free(block);
    return index;
}
