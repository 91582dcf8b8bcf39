#pragma once
// Output files appear whole or not at all: the bytes go to a temporary file
// beside the target, which is renamed onto it once complete.
#include <cstdint>
#include <string>
#include <vector>

namespace strata {

// A temporary name in the target's directory, unique within this process.
std::string TemporaryNameFor(const std::string& path);

// Writes bytes to a temporary file beside path. False with *why (and no
// file left) when it cannot be written completely.
bool WriteTemporary(const std::string& temporary, const std::vector<std::uint8_t>& bytes, std::string* why);

// Renames temporary onto path, replacing it; on failure removes temporary.
bool Commit(const std::string& temporary, const std::string& path, std::string* why);

// Removes a temporary that will not be committed (a missing one is fine).
void Discard(const std::string& temporary);

// WriteTemporary then Commit.
bool WriteWhole(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string* why);

}  // namespace strata
