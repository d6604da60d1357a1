#pragma once
// Files and folders by Windows path.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vt::platform {

bool fileExists(std::string_view path);      // a file (not a folder)
bool directoryExists(std::string_view path); // a folder
bool pathExists(std::string_view path);      // either
// Creates the folder with its parents; true when it exists afterwards.
bool createDirectories(std::string_view path);
bool deleteFile(std::string_view path);
// Renames or moves a file or folder; fails when the target exists.
bool moveFile(std::string_view from, std::string_view to);
// Copies a file, replacing the target.
bool copyFile(std::string_view from, std::string_view to);

struct DirEntry {
  std::string name;
  bool isDirectory = false;
};
// Entries of a folder whose names match a pattern with * and ? (letter case
// ignored, "*" or "*.*" for everything), without "." and "..".
std::vector<DirEntry> listDirectory(std::string_view folder, std::string_view pattern = "*");
bool wildcardMatch(std::string_view pattern, std::string_view name);

// The size in bytes from the file's attributes (0 for a folder), -1 when they
// cannot be read.
int64_t fileSize(std::string_view path);

// Opens the file for reading with exclusive sharing and returns its size;
// throws OsError ("Cannot open file "<path>". <system message>") when the
// file is missing, is a folder or another process holds it.
int64_t exclusiveFileSize(std::string_view path);

// Creates or empties the file and writes the bytes; throws OsError with the
// message "Cannot create file "<path>". <system message>" on failure.
void writeFileReplacing(std::string_view path, std::string_view bytes);
// Appends, creating the file when missing; false on failure.
bool appendToFile(std::string_view path, std::string_view bytes);
// Appends to a file that must already exist (it is never created); false on failure.
bool appendToExistingFile(std::string_view path, std::string_view bytes);
// The whole file; throws OsError when it cannot be read.
std::string readWholeFile(std::string_view path);

// The shell's silent file operations: no confirmation, no progress, no error
// display, no recycle bin, outcome not reported. `from` may name a file, a
// folder or a wildcard pattern in its last component.
void shellDelete(std::string_view from);
void shellCopy(std::string_view from, std::string_view to);

} // namespace vt::platform
