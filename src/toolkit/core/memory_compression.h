#pragma once
// One-shot compression of a memory buffer into another, in the zlib stream
// format. destinationLength is the capacity on entry and the number of bytes
// produced on return; 0 after a failure, which is reported as error 1044 with
// the zlib text.

namespace tk {

void MemCompress(const void* source, void* destination, int sourceLength, int& destinationLength);
void MemUncompress(const void* source, void* destination, int sourceLength, int& destinationLength);
// Second entries of the two, for callers with other buffer element types;
// they report as the routines they stand for.
inline void CompressEntry2(const void* source, void* destination, int sourceLength,
                           int& destinationLength) {
    MemCompress(source, destination, sourceLength, destinationLength);
}
inline void UncompressEntry2(const void* source, void* destination, int sourceLength,
                             int& destinationLength) {
    MemUncompress(source, destination, sourceLength, destinationLength);
}

// The zlib calls themselves; result is zlib's return code.
void Win32Compress(const void* source, void* destination, int sourceLength, int& destinationLength,
                   int& result);
void Win32Uncompress(const void* source, void* destination, int sourceLength,
                     int& destinationLength, int& result);

}  // namespace tk
