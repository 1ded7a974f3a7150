// The files the tool writes for people and programs to read (the log, the report) are named on its
// command line and written with the rights of whoever runs it, often an installer's. Only a plain
// disk file is written: not a named pipe, whose server would get the text (and, but for the
// anonymous identity the open asks for, the tool's identity with it), nor a device, nor a link or
// a second name (hard link) that someone placed where the file was to be, in a folder that every
// user can write, for a file of the system's. A link is opened as itself, never followed.
#pragma once

#include <windows.h>

// Opens the file at `path` with `access` and `share`, creating it when missing and cutting
// nothing, and answers it when it is a plain disk file; otherwise closes it and answers
// INVALID_HANDLE_VALUE. `ntFamily`: the system has links and identities; the 95 family's
// CreateFileA is given none of the flags for them.
HANDLE OpenPlainDiskFile(const char* path, DWORD access, DWORD share, bool ntFamily);
