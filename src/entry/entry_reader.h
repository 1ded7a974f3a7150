// The entry description reader: turns one section of an entry description file (the profile file
// named by INIT) into a dial-up entry record. It is the only part of the tool that reads the file
// (the keys are the names of the record's fields, record_fields.h), and it reads it through the
// profile component alone.
// docs/entry-description-file.md describes the file for the people who write one.
#pragma once

#include "entry/entry_record.h"
#include "entry/record_fields.h"

// The phone number an entry gets when its section names none: fixed texts that the tool
// carries. They are placeholders that reach no one (555-0100 is kept free for made-up numbers),
// so a forgotten number shows itself instead of dialling a stranger.
inline constexpr char kDefaultAreaCode[] = "555";
inline constexpr char kDefaultLocalPhoneNumber[] = "5550100";

// The reader's work buffer: keyword lists and addresses are read into it, so that only the first
// kEntryWorkBufferCapacity - 1 characters of such a value take part.
inline constexpr DWORD kEntryWorkBufferCapacity = 216;

// The keys of a section, in the order in which they are read, each with its field of the record
// and its value when the key is missing. This table is the reader's whole knowledge of the file;
// dialkit-check judges a file by it too. A key of the bit kind is a list of keywords, the names of
// the field's bits.
struct EntryKey : RecordField {
  const char* defaultText;  // keyword lists, texts and addresses
  INT defaultValue;         // numbers
};

inline constexpr EntryKey kEntryKeys[] = {
    {FieldNamed("dwfOptions"),
     "NetworkLogon IpHeaderCompression ModemLights SwCompression RemoteDefaultGateway", 0},
    {FieldNamed("dwCountryID"), nullptr, 1},
    {FieldNamed("dwCountryCode"), nullptr, 1},
    {FieldNamed("szAreaCode"), kDefaultAreaCode, 0},
    {FieldNamed("szLocalPhoneNumber"), kDefaultLocalPhoneNumber, 0},
    {FieldNamed("dwAlternateOffset"), nullptr, 0},
    {FieldNamed("ipaddr"), "0.0.0.0", 0},
    {FieldNamed("ipaddrDns"), "0.0.0.0", 0},
    {FieldNamed("ipaddrDnsAlt"), "0.0.0.0", 0},
    {FieldNamed("ipaddrWins"), "0.0.0.0", 0},
    {FieldNamed("ipaddrWinsAlt"), "0.0.0.0", 0},
    {FieldNamed("dwFrameSize"), nullptr, 0},
    {FieldNamed("dwfNetProtocols"), "IP", 0},
    {FieldNamed("dwFramingProtocol"), "PPP", 0},
    {FieldNamed("szScript"), "", 0},
    {FieldNamed("szAutodialDll"), "", 0},
    {FieldNamed("szAutodialFunc"), "", 0},
    {FieldNamed("szX25PadType"), "", 0},
    {FieldNamed("szX25Address"), "", 0},
    {FieldNamed("szX25Facilities"), "", 0},
    {FieldNamed("szX25UserData"), "", 0},
    {FieldNamed("dwChannels"), nullptr, 0},
    {FieldNamed("dwReserved1"), nullptr, 0},
    {FieldNamed("dwReserved2"), nullptr, 0},
};

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
