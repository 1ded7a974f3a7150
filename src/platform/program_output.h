// What the tool hands to other programs besides its files: text in UTF-8, the encoding of
// documents that programs read, and its standard output. One implementation per platform
// (program_output_posix.cpp, program_output_win32.cpp).
#pragma once

#include <string>
#include <string_view>

// `text` in UTF-8. On Windows the text is in the ANSI code page and is converted from it by the
// system, or, where the system cannot, read as Windows-1252. On POSIX, where texts carry no code
// page, valid UTF-8 stays as it is and every other byte is read as Windows-1252, the code page of
// the stand-in system.
std::string TextInUtf8(std::string_view text);

// Writes `bytes` whole to the standard output the process was given; false when there is none
// (a Windows program started without one) or a write fails.
bool WriteStandardOutput(std::string_view bytes);

// Makes `bytes` the content of the file at `path`, for another program to read. On POSIX the file
// is replaced whole (platform/file_replacement.h), and a device or a pipe under the name is never
// written. On Windows it is written anew in place, since the 95 family cannot replace a file in
// one step, and only when it is a plain disk file (win32/plain_file_win32.h). False when it could
// not be written.
bool WriteOutputFile(const char* path, const std::string& bytes);
