// The peer files and chat scripts on disk. Both files of an entry are written in one store: each
// to a temporary file beside it first, then renamed into place, the chat script first; when the
// peer file cannot take its place, the chat script is put back as it was, so that a store that
// fails leaves neither half. Files are written with Debian's modes for them (0640) and their
// folders made when missing (0750). Only regular files in the peers directory are peers.
#pragma once

#include <string>
#include <vector>

#include "peer_file.h"
#include "platform_types.h"

// 0, or the platform's code for why the files could not be written: kErrorAccessDenied without
// the right to write there, ERROR_CANNOT_WRITE_PHONEBOOK otherwise.
DWORD StorePeer(const std::string& root, const std::string& name, const CPeerTexts& texts);

// Reads the peer file of `name`; false when there is none (or it is no regular file).
bool ReadPeer(const std::string& root, const std::string& name, std::string* text);

// The name of the existing peer file that `name` names, letter case aside, as it is spelled on
// disk; empty when there is none.
std::string FindPeer(const std::string& root, const std::string& name);

// The names of the peer files, sorted.
std::vector<std::string> ListPeers(const std::string& root);

// Removes the peer file, and the chat script of a peer that the service wrote. 0, or the code.
DWORD RemovePeer(const std::string& root, const std::string& name);
