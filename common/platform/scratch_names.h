// Names of the scratch entries the programs make: the temporary name of an
// output file and the private folders. Shared by the Linux and the Windows
// side of the platform layer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace parvex::platform::detail {

// ".pvx-PID-N.tmp": the temporary name of the output file that process
// `pid` writes (N counts the attempts).
std::string PendingFileName(std::int64_t pid, unsigned n);

// "parvex-PID-" followed by kPrivateFolderRandomChars letters or digits.
inline constexpr std::size_t kPrivateFolderRandomChars = 6;
std::string PrivateFolderPrefix(std::int64_t pid);
// The process id in a private folder's name, or -1 when the name is not
// one CreatePrivateFolder makes.
std::int64_t PrivateFolderOwner(std::string_view name);

}  // namespace parvex::platform::detail
