#pragma once
// Installations are often made on Windows, where Cfg.ini and cfg.ini are one file. A name
// inside an installation is looked up exactly first and then without regard to case, one
// path component at a time.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace FileLookup {
// Returns dir + rel with every component that exists spelt as on disk; when a component is
// missing in every spelling, the rest is appended as given (so the caller's open fails
// naturally and its message shows the expected name). rel uses '/' or '\\'.
std::string Resolve(const std::string& dir, const std::string& rel);
bool Exists(const std::string& path);
bool IsDirectory(const std::string& path);
// Reads a whole file; nullopt when it cannot be opened or read.
std::optional<std::vector<uint8_t>> ReadAll(const std::string& path);
// Writes a file through a temporary file in the same folder, flushed and renamed over the
// old one, so a crash or a full disk never leaves a torn file. Returns false on any error.
bool WriteAtomic(const std::string& path, const void* pData, size_t nLen);
// Creates one directory level; true when it exists afterwards.
bool MakeDir(const std::string& path);
} // namespace FileLookup
