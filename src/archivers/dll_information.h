#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "archivers/binding_table.h"

namespace pyx {

// What the system offers to provide UNRAR.DLL from an installed WinRAR. The Linux host finds no
// WinRAR; tests use a fake.
class ProvisioningHost {
  public:
    virtual ~ProvisioningHost() = default;
    // WinRAR's folder from its registration, "" when none.
    virtual std::string WinRarFolder() = 0;
    virtual bool FileExists(const std::string& path) = 0;
    // Starts a program hidden, without waiting for it.
    virtual void StartProgram(const std::string& program, const std::string& parameters) = 0;
    // Shows the restart request and waits until the user closes it.
    virtual void ShowRestartMessage(const std::string& text) = 0;
};

// The host of this platform: no WinRAR is ever registered.
ProvisioningHost& SystemProvisioningHost();

constexpr const char* kUnrarRestartMessage = "UNRAR.DLL を有効にするには起動し直して下さい。";

// Starts WinRAR to extract unrar.dll into systemDir when WinRAR and UnRARDLL.rar are there, shows
// the restart request and returns true; false otherwise. The caller switches the RAR kind off in
// both cases.
bool ProvisionUnrarDll(ProvisioningHost& host, const std::string& systemDir);

// "1.23" for 123: v / 100, a full stop, (v % 100) / 10 and v % 10.
std::string VersionText(std::uint16_t version);

// The information page's six lines (Dll1..Dll6) and the kinds to switch off.
struct DllInformation {
    std::array<std::string, 6> lines;
    std::array<bool, kLastArchiverKind + 1> switchOff{};  // by ArchiveKind
};

// A kind is present when its engine is complete; UNRAR.DLL, the RAR decoder, is present when the
// RAR engine is. Versions are asked only of present kinds.
DllInformation ComputeDllInformation(const ArchiverTable& table, ProvisioningHost& host,
                                     const std::string& systemDir);

}  // namespace pyx
