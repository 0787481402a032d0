#pragma once
// Closing any kernel handle: files, searches, processes.

#include "platform/win_types.h"

namespace win {

BOOL CloseHandle(HANDLE object);

}  // namespace win
