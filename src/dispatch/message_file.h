// Message text files: loading with the size limit and the line rules, and the bytes that
// saving writes.
#pragma once

#include <cstdint>
#include <string>

#include "platform/file_system.h"

namespace botenruf {

// Reads a text file of at most maxDateiKB * 1024 bytes into message text. Every non-empty
// line gets a line end: a line that ends in CR gets LF, any other line CR LF; empty lines
// add nothing. False (text untouched) when the file is missing, unreadable or too large.
bool LoadMessageFile(FileSystem& files, const std::string& path, int32_t maxDateiKB,
                     std::string& text);

// The bytes a text-mode write of the editor's text produces: every LF becomes CR LF, so an
// editor line break (CR LF) is stored as CR CR LF and loads back unchanged.
std::string MessageFileBytes(const std::string& editorText);

}  // namespace botenruf
