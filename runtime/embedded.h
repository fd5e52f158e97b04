// Read-only access to the byte arrays built into the exe (pictures, icons).
#pragma once

#include <string_view>

namespace runtime {

// The bytes of RCDATA resource `id` of the running module; empty when there is none. The view
// stays valid for the life of the process (resources are mapped with the image).
std::string_view EmbeddedBytes(int id);

}  // namespace runtime
