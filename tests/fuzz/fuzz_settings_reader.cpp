// Fuzzes the settings file's reader, from the file's bytes and from its text, and checks that
// whatever it reads survives a save and a second read unchanged.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/cp932.h"
#include "settings/settings_file.h"

namespace {

void CheckRoundTrip(const pyx::SettingsData& data) {
    if (!data.versionOk) {
        if (!(data == pyx::SettingsData()))
            __builtin_trap();
        return;
    }
    pyx::SettingsState state;
    state.openFolder = data.openFolder.value_or("");
    state.moveFolder = data.moveFolder.value_or("");
    state.x = data.x.value_or(0);
    state.y = data.y.value_or(0);
    state.listEntries.assign(data.entriesInFileOrder.rbegin(), data.entriesInFileOrder.rend());
    const auto again = pyx::ParseSettingsFile(
        pyx::DecodeTextFile(pyx::EncodeTextFile(pyx::ComposeSettingsFile(state))));
    if (again.openFolder != state.openFolder || again.moveFolder != state.moveFolder ||
        again.x != state.x || again.y != state.y ||
        again.entriesInFileOrder != data.entriesInFileOrder)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckRoundTrip(pyx::ParseSettingsFile(pyx::DecodeTextFile(bytes)));
    CheckRoundTrip(pyx::ParseSettingsFile(bytes));
    return 0;
}
