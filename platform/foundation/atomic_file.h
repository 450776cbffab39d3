#pragma once
// Replacing a file's whole contents so that a reader sees either the old file or the complete
// new one, never a torn one, as Foundation's atomic writes do.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace platform {

// Writes `bytes` to a uniquely named temporary file beside `path`, syncs it, renames it over
// `path` and syncs the folder; the replaced file's permissions are kept. Creates no folders.
// Returns "" or why not, beginning with the path; on failure the old file is left as it was and
// no temporary file remains.
std::string writeBytesAtomically(const std::filesystem::path& path,
                                 std::span<const std::uint8_t> bytes);

}  // namespace platform
