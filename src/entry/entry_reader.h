// The entry description reader: turns one section of an entry description file (the profile file
// named by INIT) into a dial-up entry record. It is the only part of the tool that knows the
// file's keys, and it reads them through the profile component alone.
// docs/entry-description-file.md describes the file for the people who write one.
#pragma once

#include "entry/entry_record.h"

// The phone number an entry gets when its section names none: fixed texts that the tool
// carries. They are placeholders that reach no one (555-0100 is kept free for made-up numbers),
// so a forgotten number shows itself instead of dialling a stranger.
inline constexpr char kDefaultAreaCode[] = "555";
inline constexpr char kDefaultLocalPhoneNumber[] = "5550100";

// Fills the caller's record from `section` of the file at `entryFilePath` (a full path). The
// whole record is zero-filled first; dwSize, szDeviceType and szDeviceName stay zero for the
// run and device assignment to fill, every other field gets its key's value or the key's
// default.
//
// A null section reads "RasEntry" without a test, so that a missing file or section gives a
// record of defaults. A named section must exist and hold at least one line: otherwise the
// result is 0 and the record is all zeros. Returns 1 when the record was filled.
int ReadEntryDescription(RASENTRYA* entry, const char* entryFilePath, const char* section);

// Fills `address` from a dotted text a.b.c.d. Full stops and line feeds separate the parts (a run
// of them counts as one, leading ones are skipped); the first four parts count, missing ones give
// 0. Each part is read as a decimal number: leading white space and a sign are taken, then digits
// up to the first other character. A part without digits, a negative part, and a part of 256 or
// more (however many digits it has) give 0. The text is split in place and so is changed.
void ParseDottedAddress(RASIPADDR* address, char* text);
