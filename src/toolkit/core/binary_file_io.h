#pragma once
// Unbuffered binary file access through operating-system file handles, with
// an optional reversal of the byte order of fixed-size items. Failures are
// reported (errors 1 and 2 with the system's text) and marked with -1 in the
// outputs; the handle belongs to the caller until FileHandleClose.

#include <cstdint>
#include <string_view>

namespace tk {

// The OS handle as CreateFileA gave it; -1 means no file.
using FileHandle = std::int32_t;

// 0 read an existing file (others may read and write it), 1 create or
// truncate for writing (others may read), 2 read and write an existing file
// (others may read).
enum FileOpenMode : int { OpenRead = 0, OpenCreate = 1, OpenReadWrite = 2 };
// 0 from the start, 1 from the current position, 2 from the end.
enum SeekOrigin : int { SeekStart = 0, SeekCurrent = 1, SeekEnd = 2 };

void BinFileOpen(std::string_view name, int mode, FileHandle& handle);
// bytesRead: the number transferred (0 at the end of the file), -1 after an error.
void BinFileReadChar(FileHandle handle, char* buffer, int count, int& bytesRead);
// As BinFileReadChar; with itemSize k > 0 each k-byte item read is reversed.
void BinFileRead(FileHandle handle, void* buffer, int count, int& bytesRead, int itemSize = 0);
void BinFileWriteChar(FileHandle handle, const char* buffer, int count, int& bytesWritten);
// With itemSize k > 0 each k-byte item goes to the file reversed; the
// caller's buffer is reversed in place for the call and restored after it.
void BinFileWrite(FileHandle handle, void* buffer, int count, int& bytesWritten, int itemSize = 0);
// offset: in the distance from origin, out the new position from the start
// (-1 after an error). An origin outside 0-2 does nothing.
void BinFileSeek(FileHandle handle, int& offset, int origin);
void FileHandleClose(FileHandle handle);

// Further entry points of the read and write families, with the same
// arguments and behaviour; they report under their family's name.
inline void ReadCharsEntry1(FileHandle h, char* b, int n, int& r) {
    BinFileReadChar(h, b, n, r);
}
inline void ReadCharsEntry2(FileHandle h, char* b, int n, int& r) {
    BinFileReadChar(h, b, n, r);
}
inline void WriteCharsEntry1(FileHandle h, const char* b, int n, int& w) {
    BinFileWriteChar(h, b, n, w);
}
inline void WriteCharsEntry2(FileHandle h, const char* b, int n, int& w) {
    BinFileWriteChar(h, b, n, w);
}
// The byte entries, one per buffer element type a caller may hand over.
inline void ReadBytesEntry1(FileHandle h, void* b, int n, int& r, int itemSize = 0) {
    BinFileRead(h, b, n, r, itemSize);
}
inline void ReadBytesEntry2(FileHandle h, void* b, int n, int& r, int itemSize = 0) {
    BinFileRead(h, b, n, r, itemSize);
}
inline void ReadBytesEntry3(FileHandle h, void* b, int n, int& r, int itemSize = 0) {
    BinFileRead(h, b, n, r, itemSize);
}
inline void ReadBytesEntry4(FileHandle h, void* b, int n, int& r, int itemSize = 0) {
    BinFileRead(h, b, n, r, itemSize);
}
inline void ReadBytesEntry5(FileHandle h, void* b, int n, int& r, int itemSize = 0) {
    BinFileRead(h, b, n, r, itemSize);
}
inline void ReadBytesEntry6(FileHandle h, void* b, int n, int& r, int itemSize = 0) {
    BinFileRead(h, b, n, r, itemSize);
}
inline void ReadBytesEntry7(FileHandle h, void* b, int n, int& r, int itemSize = 0) {
    BinFileRead(h, b, n, r, itemSize);
}
inline void ReadBytesEntry8(FileHandle h, void* b, int n, int& r, int itemSize = 0) {
    BinFileRead(h, b, n, r, itemSize);
}
inline void WriteBytesEntry1(FileHandle h, void* b, int n, int& w, int itemSize = 0) {
    BinFileWrite(h, b, n, w, itemSize);
}
inline void WriteBytesEntry2(FileHandle h, void* b, int n, int& w, int itemSize = 0) {
    BinFileWrite(h, b, n, w, itemSize);
}
inline void WriteBytesEntry3(FileHandle h, void* b, int n, int& w, int itemSize = 0) {
    BinFileWrite(h, b, n, w, itemSize);
}
inline void WriteBytesEntry4(FileHandle h, void* b, int n, int& w, int itemSize = 0) {
    BinFileWrite(h, b, n, w, itemSize);
}
inline void WriteBytesEntry5(FileHandle h, void* b, int n, int& w, int itemSize = 0) {
    BinFileWrite(h, b, n, w, itemSize);
}
inline void WriteBytesEntry6(FileHandle h, void* b, int n, int& w, int itemSize = 0) {
    BinFileWrite(h, b, n, w, itemSize);
}
inline void WriteBytesEntry7(FileHandle h, void* b, int n, int& w, int itemSize = 0) {
    BinFileWrite(h, b, n, w, itemSize);
}
inline void WriteBytesEntry8(FileHandle h, void* b, int n, int& w, int itemSize = 0) {
    BinFileWrite(h, b, n, w, itemSize);
}

// Reverses the bytes of each itemSize-byte item among the first limit bytes.
void reverseItems(void* buffer, int limit, int itemSize);

// The platform side: no reports; error = the OS error code, 0 on success.
void Win32FileOpen(const char* name, int nameLength, int mode, FileHandle& handle, int& error);
void Win32FileClose(FileHandle handle);
void Win32FileReadBytes(FileHandle handle, void* buffer, int bufferLength, int count,
                        int& bytesRead, int& error);
void Win32FileReadItems(FileHandle handle, void* buffer, int count, int& bytesRead, int itemSize,
                        int& error);
void Win32FileWriteBytes(FileHandle handle, const void* buffer, int bufferLength, int count,
                         int& bytesWritten, int& error);
void Win32FileWriteItems(FileHandle handle, void* buffer, int count, int& bytesWritten,
                         int itemSize, int& error);
void Win32FileSeek(FileHandle handle, int& offset, int origin, int& error);

}  // namespace tk
