#include "platform/host_libraries.h"

#include <dlfcn.h>

namespace qln {

void* DynamicLibraries::library_open(const char* host_path, std::string& error) {
    if (!host_path || !*host_path) {
        error = "no library path";
        return nullptr;
    }
    // Symbols resolved now, so a broken library fails here and not at its
    // first call; kept local, so two plug-ins cannot clash.
    void* library = dlopen(host_path, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* reason = dlerror();
        error = reason ? reason : "the library cannot be loaded";
    }
    return library;
}

void* DynamicLibraries::library_symbol(void* library, const char* name) {
    if (!library || !name) return nullptr;
    return dlsym(library, name);
}

void DynamicLibraries::library_close(void* library) {
    if (library) dlclose(library);
}

}  // namespace qln
