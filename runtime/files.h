// Whole-file reads, crash-safe whole-file replacement, deletion, and where the running exe lives.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace runtime {

// Every byte of the file, or nothing when it cannot be opened or read (missing, locked, a folder).
std::optional<std::string> ReadWholeFile(const std::string& path);

// Replaces the file's contents so that an abrupt end of the process, a full disk or a locked target
// never leaves a half-written file: the bytes go to ReplaceTempPath(path), are flushed to the disk,
// and the temporary file is renamed over `path` in one step. Creates the file when it is missing. On
// failure the old file is untouched, the temporary file removed, and the result false.
bool ReplaceFileContents(const std::string& path, std::string_view bytes);

// The temporary file ReplaceFileContents writes beside `path`. A process ended in the middle of a
// write leaves it behind; the owner of `path` removes it at start.
std::string ReplaceTempPath(const std::string& path);

// Deletes the file; true when it is gone afterwards (also when it never existed).
bool RemoveFile(const std::string& path);

// The folder of the running exe, without a trailing "\" ("C:" for an exe in a drive's root).
std::string RunDirectory();

// The running exe's file name without its folder.
std::string ExeFileName();

}  // namespace runtime
