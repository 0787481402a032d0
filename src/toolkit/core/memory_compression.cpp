#include "toolkit/core/memory_compression.h"

#include <zlib.h>

#include <climits>

#include "toolkit/core/error_report.h"
#include "toolkit/core/toolkit_state.h"

namespace tk {
namespace {

using ZlibCall = int (*)(Bytef*, uLongf*, const Bytef*, uLong);

void run(ZlibCall call, const void* source, void* destination, int sourceLength,
         int& destinationLength, int& result) {
    if (sourceLength < 0 || destinationLength < 0) {
        result = Z_BUF_ERROR;
        return;
    }
    uLongf produced = static_cast<uLongf>(destinationLength);
    result = call(static_cast<Bytef*>(destination), &produced, static_cast<const Bytef*>(source),
                  static_cast<uLong>(sourceLength));
    destinationLength = produced > INT_MAX ? INT_MAX : static_cast<int>(produced);
}

int compressDefault(Bytef* d, uLongf* dl, const Bytef* s, uLong sl) {
    return compress(d, dl, s, sl);
}
int uncompressAll(Bytef* d, uLongf* dl, const Bytef* s, uLong sl) {
    return uncompress(d, dl, s, sl);
}

void finish(int result, int& destinationLength, const char* routine) {
    if (result == Z_OK) return;
    toolkitState().OsErrorCode = result;
    ReportLibraryError(1044, routine);
    destinationLength = 0;
}

}  // namespace

void Win32Compress(const void* source, void* destination, int sourceLength, int& destinationLength,
                   int& result) {
    run(compressDefault, source, destination, sourceLength, destinationLength, result);
}

void Win32Uncompress(const void* source, void* destination, int sourceLength,
                     int& destinationLength, int& result) {
    run(uncompressAll, source, destination, sourceLength, destinationLength, result);
}

void MemCompress(const void* source, void* destination, int sourceLength, int& destinationLength) {
    int result = Z_OK;
    Win32Compress(source, destination, sourceLength, destinationLength, result);
    finish(result, destinationLength, "MemCompress");
}

void MemUncompress(const void* source, void* destination, int sourceLength,
                   int& destinationLength) {
    int result = Z_OK;
    Win32Uncompress(source, destination, sourceLength, destinationLength, result);
    finish(result, destinationLength, "MemUncompress");
}

}  // namespace tk
