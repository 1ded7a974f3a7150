// The encodings of profile files, as the Win32 profile functions tell them apart: a file that
// begins with a UTF-16 byte-order mark (FF FE little-endian, FE FF big-endian) holds UTF-16 text,
// which the A functions hand over in the ANSI code page; every other file is taken byte for byte.
// The stand-in system's ANSI code page is Windows-1252, the code page of Western Windows systems
// and the one Wine uses by default: a character it has becomes its byte, a character it lacks
// becomes the platform's "best fit" (U+0100 becomes 'A', see windows_1252_best_fit.h) or '?',
// one UTF-16 code unit at a time, as the platform converts them. The POSIX profile component reads
// and writes files with it; dialkit-check finds the lines of such files with it on both platforms.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class ProfileEncoding { kBytes, kUtf16LittleEndian, kUtf16BigEndian };

// The encoding of a file that begins with `bytes`.
ProfileEncoding ProfileEncodingOf(std::string_view bytes);

// The file's text in the ANSI code page, as the profile functions read it: for UTF-16, the text
// after the mark converted; an odd byte at the end is a code unit of its own, completed by a zero
// byte. Other files are their bytes.
std::string DecodeProfileText(std::string_view bytes, ProfileEncoding encoding);

// The bytes of a file that holds `text` (in the ANSI code page) in `encoding`, mark first, each
// byte back to the character it stands for.
std::string EncodeProfileText(std::string_view text, ProfileEncoding encoding);

// The character that `byte` stands for in Windows-1252 (the five bytes the code page leaves
// undefined stand for the control characters of their numbers, as the platform converts them).
uint16_t Windows1252Character(unsigned char byte);

// Appends the UTF-8 form of the character `character`.
void AppendUtf8(std::string& text, uint32_t character);
