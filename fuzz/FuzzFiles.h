#pragma once
// A folder of files for the harnesses that read tables by path: in memory-backed
// /dev/shm where there is one, created once per process and removed at its end.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fuzz {

// The folder (the same for the whole process).
const std::string& Folder();
// Writes `bytes` to Folder()/name, replacing what was there.
void WriteFile(const std::string& name, std::string_view bytes);
// Removes Folder()/name when it is there.
void RemoveFile(const std::string& name);

}  // namespace fuzz
