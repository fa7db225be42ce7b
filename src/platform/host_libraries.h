#pragma once
// Host libraries loaded through the dynamic linker, for plug-ins.

#include "platform/platform.h"

namespace qln {

class DynamicLibraries final : public LibraryService {
  public:
    void* library_open(const char* host_path, std::string& error) override;
    void* library_symbol(void* library, const char* name) override;
    void library_close(void* library) override;
};

}  // namespace qln
