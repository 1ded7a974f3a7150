#include "peer_store.h"

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "framework/text.h"
#include "platform/posix/directories.h"
#include "platform/whole_file.h"
#include "ppp_system.h"
#include "service_answers.h"

namespace {

constexpr mode_t kFileMode = 0640;
constexpr mode_t kDirectoryMode = 0750;

DWORD WriteError(int error) {
  return error == EACCES || error == EPERM || error == EROFS ? kErrorAccessDenied
                                                             : ERROR_CANNOT_WRITE_PHONEBOOK;
}

// A temporary file beside `path` with `text` in it, on the disk; its path, or empty with errno.
// Its name is short, whatever the length of the file's, and hidden: no peer starts with a '.'.
std::string WriteTemporary(const std::string& path, const std::string& text) {
  std::string temporary = path.substr(0, path.rfind('/') + 1) + ".dialkit-XXXXXX";
  const int file = mkstemp(temporary.data());
  if (file < 0) {
    return {};
  }
  size_t written = 0;
  while (written < text.size()) {
    const ssize_t count = write(file, text.data() + written, text.size() - written);
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count <= 0) {
      break;
    }
    written += static_cast<size_t>(count);
  }
  bool whole = written == text.size() && fchmod(file, kFileMode) == 0;
  // As Debian keeps them: root's, and readable by the group dip, whose members may dial with pon.
  if (const group* dialers = geteuid() == 0 ? getgrnam("dip") : nullptr; whole && dialers) {
    whole = fchown(file, 0, dialers->gr_gid) == 0;
  }
  whole = whole && fsync(file) == 0;
  const int error = errno;
  close(file);
  if (!whole) {
    unlink(temporary.c_str());
    errno = error;
    return {};
  }
  return temporary;
}

bool IsRegularFile(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

DWORD StorePeer(const std::string& root, const std::string& name, const CPeerTexts& texts) {
  const std::string peer = PeerFilePath(root, name);
  const std::string chat = ChatScriptPath(root, name);
  if (!MakeDirectories(PeersDirectory(root), kDirectoryMode) ||
      (!texts.chat.empty() && !MakeDirectories(ChatScriptsDirectory(root), kDirectoryMode))) {
    return WriteError(errno);
  }
  const std::string peerTemporary = WriteTemporary(peer, texts.peer);
  if (peerTemporary.empty()) {
    return WriteError(errno);
  }
  std::string oldChat;
  const bool hadChat = ReadRegularFile(chat.c_str(), &oldChat, nullptr);
  if (!texts.chat.empty()) {
    const std::string chatTemporary = WriteTemporary(chat, texts.chat);
    if (chatTemporary.empty() || rename(chatTemporary.c_str(), chat.c_str()) != 0) {
      const int error = errno;
      unlink(peerTemporary.c_str());
      if (!chatTemporary.empty()) {
        unlink(chatTemporary.c_str());
      }
      return WriteError(error);
    }
  }
  if (rename(peerTemporary.c_str(), peer.c_str()) != 0) {
    const int error = errno;
    unlink(peerTemporary.c_str());
    // The chat script goes back to what it was, so that neither half of the store remains.
    if (!texts.chat.empty()) {
      const std::string restored = hadChat ? WriteTemporary(chat, oldChat) : std::string();
      if (hadChat && !restored.empty()) {
        rename(restored.c_str(), chat.c_str());
      } else if (!hadChat) {
        unlink(chat.c_str());
      }
    }
    return WriteError(error);
  }
  return 0;
}

bool ReadPeer(const std::string& root, const std::string& name, std::string* text) {
  return ReadRegularFile(PeerFilePath(root, name).c_str(), text, nullptr);
}

std::string FindPeer(const std::string& root, const std::string& name) {
  if (IsRegularFile(PeerFilePath(root, name))) {
    return name;
  }
  for (const std::string& peer : ListPeers(root)) {
    if (TextEqualsIgnoringCase(peer, name)) {
      return peer;
    }
  }
  return {};
}

std::vector<std::string> ListPeers(const std::string& root) {
  std::vector<std::string> peers;
  const std::string directory = PeersDirectory(root);
  if (DIR* listing = opendir(directory.c_str())) {
    std::string path = directory + "/";
    while (const dirent* entry = readdir(listing)) {
      const std::string name = entry->d_name;
      path.resize(directory.size() + 1);
      path.append(name);
      // Names the service would not take (a store's temporary files among them) are no entries.
      if (IsPeerName(name.c_str()) && IsRegularFile(path)) {
        peers.push_back(name);
      }
    }
    closedir(listing);
  }
  std::sort(peers.begin(), peers.end());
  return peers;
}

DWORD RemovePeer(const std::string& root, const std::string& name) {
  std::string text;
  const bool ours = ReadPeer(root, name, &text) && ReadPeerRecord(text, nullptr);
  if (unlink(PeerFilePath(root, name).c_str()) != 0) {
    return WriteError(errno);
  }
  if (ours) {
    unlink(ChatScriptPath(root, name).c_str());
  }
  return 0;
}
