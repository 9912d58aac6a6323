#pragma once

#include <string>

namespace pyx {

// A file is read-only when nobody has write permission on it, the way a read-only attribute
// marks it. The test does not depend on who runs the program (root may write anything).
bool IsReadOnlyFile(const std::string& path);

}  // namespace pyx
