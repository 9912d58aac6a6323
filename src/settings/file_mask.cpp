#include "settings/file_mask.h"

namespace pyx {

std::string BuildFileMask(const std::array<int, kLastArchiverKind + 1>& modes,
                          bool selfExtracting) {
    static constexpr const char* kPatterns[] = {"",       "*.lzh;", "*.zip;",
                                                "*.arj;", "*.cab;", "*.rar;"};
    std::string mask;
    int sum = 0;
    for (int kind = kFirstArchiverKind; kind <= kLastArchiverKind; ++kind) {
        const int mode = modes[static_cast<std::size_t>(kind)];
        if (mode != 0)
            mask += kPatterns[kind];
        sum += mode;
    }
    if (selfExtracting && sum != 0)
        mask += "*.exe;";
    return mask;
}

}  // namespace pyx
