// File copies and removals of the server: the system calls and their errors
// stay here, and the caller logs or throws the failure once.
//
// Every function returns false with a sentence naming the file and the
// system's error in `error`. Any thread may call them; concurrent copies to
// one target are safe (see CopyFileWhole).
#pragma once

#include <cstdint>
#include <string>

// Copies `from` to `to` through a temporary file of its own linked into place
// at the end, so `to` is either absent or complete. Several threads or
// processes may copy at once: each writes its own file, the first link wins
// and the others find `to` complete, which counts as done. `placed_here` tells
// whether this call put the file in place.
bool CopyFileWhole(const std::string& from, const std::string& to, bool& placed_here, std::string& error);
// Copies `from` to `to`, replacing what `to` held.
bool CopyFileOver(const std::string& from, const std::string& to, std::string& error);
// Removes `path`; a file that is not there is no failure.
bool RemoveFileIfPresent(const std::string& path, std::string& error);
// The size of `path` in bytes; false when it cannot be looked at.
bool FileSize(const std::string& path, std::uint64_t& size);
