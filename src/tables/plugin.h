#pragma once
// The plug-in record held by a data buffer of type 5: a loaded library and
// the service that unloads it. Freeing the buffer unloads the library.

#include "platform/platform.h"

namespace qln {

struct Plugin {
    LibraryService* libraries = nullptr;  // the service that opened it
    void* library = nullptr;
};

}  // namespace qln
