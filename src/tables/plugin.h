#pragma once
// The plug-in record held by a data buffer of type 5. Opaque to everything
// but the plug-in subsystem, which loads libraries and fills it in.

namespace qln {

struct Plugin {
    // Filled in by the plug-in loader: the library handle, its exports and
    // its info block. Nothing creates a plug-in yet.
};

}  // namespace qln
