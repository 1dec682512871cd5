#pragma once

// Saving to a new numbered file in the working directory.

#include <cstdio>
#include <functional>
#include <string>

// What a save left behind: the name written, or one line saying why nothing was.
struct SavedFile {
    std::string name;  // empty when the save failed
    std::string error; // empty when it succeeded
};

// Writes a new file stem-N.extension in the current directory, N the first
// number from 1 whose name is free. The content goes to a hidden temporary
// first and is moved into place only once complete, never over an existing
// file, so a failure (read-only directory, full disk) leaves nothing behind.
// write gives false when the content could not be written.
SavedFile saveNumbered(const char* stem, const char* extension, const std::function<bool(std::FILE*)>& write);

// A short Serbian description of a system error number, for messages.
std::string systemErrorText(int errnum);
