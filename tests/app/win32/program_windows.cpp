// Finding, reading and answering the windows of another process, and pictures of them.
#include "app/win32/program_windows.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>

namespace {

constexpr DWORD kPollIntervalMs = 20;

// The visible dialog-class windows of one process; message boxes and dialogs are both of the
// dialog class.
struct WindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK TakeDialogWindowOfProcess(HWND window, LPARAM parameter) {
  WindowSearch& search = *reinterpret_cast<WindowSearch*>(parameter);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  char className[16] = "";
  GetClassNameA(window, className, sizeof className);
  if (processId == search.processId && IsWindowVisible(window) &&
      std::string(className) == "#32770") {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

std::string Narrow(const std::wstring& text) {
  if (text.empty()) {
    return {};
  }
  const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), narrow.data(), size,
                      nullptr, nullptr);
  return narrow;
}

// PNG, written by hand: 8-bit RGB rows without filtering, in uncompressed deflate blocks. The
// pictures are for people to look at, not for size.
class PngWriter {
 public:
  static std::string Encode(int width, int height, const std::string& rgbRows) {
    std::string header;
    AppendBigEndian(&header, static_cast<uint32_t>(width));
    AppendBigEndian(&header, static_cast<uint32_t>(height));
    header +=
        std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace
    return std::string("\x89PNG\r\n\x1a\n", 8) + Chunk("IHDR", header) +
           Chunk("IDAT", StoredDeflate(rgbRows)) + Chunk("IEND", "");
  }

 private:
  static void AppendBigEndian(std::string* out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
      out->push_back(static_cast<char>((value >> shift) & 0xFF));
    }
  }

  static uint32_t Crc32(const std::string& bytes) {
    static const std::array<uint32_t, 256> table = [] {
      std::array<uint32_t, 256> entries{};
      for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) {
          c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        entries[n] = c;
      }
      return entries;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
      crc = table[(crc ^ static_cast<uint8_t>(byte)) & 0xFF] ^ (crc >> 8);
    }
    return crc ^ 0xFFFFFFFFu;
  }

  static std::string Chunk(const char* kind, const std::string& data) {
    std::string chunk;
    AppendBigEndian(&chunk, static_cast<uint32_t>(data.size()));
    const std::string body = kind + data;
    chunk += body;
    AppendBigEndian(&chunk, Crc32(body));
    return chunk;
  }

  // A zlib stream of stored blocks, each at most 65535 bytes, and its Adler-32 check.
  static std::string StoredDeflate(const std::string& data) {
    std::string stream("\x78\x01", 2);
    size_t offset = 0;
    do {
      const size_t length = std::min<size_t>(data.size() - offset, 65535);
      const bool last = offset + length == data.size();
      stream.push_back(last ? 1 : 0);
      const uint16_t size = static_cast<uint16_t>(length);
      const uint16_t complement = static_cast<uint16_t>(~size);
      stream += {static_cast<char>(size & 0xFF), static_cast<char>(size >> 8),
                 static_cast<char>(complement & 0xFF), static_cast<char>(complement >> 8)};
      stream.append(data, offset, length);
      offset += length;
    } while (offset < data.size());
    uint32_t a = 1;
    uint32_t b = 0;
    for (const char byte : data) {
      a = (a + static_cast<uint8_t>(byte)) % 65521;
      b = (b + a) % 65521;
    }
    AppendBigEndian(&stream, (b << 16) | a);
    return stream;
  }
};

}  // namespace

namespace test {

RunningProgram::RunningProgram(const std::string& program, const std::string& arguments,
                               const std::string& startDirectory) {
  std::string commandLine = "\"" + program + "\"";
  if (!arguments.empty()) {
    commandLine += " " + arguments;
  }
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      startDirectory.c_str(), &startup, &process_)) {
    process_ = {};
  }
}

RunningProgram::~RunningProgram() {
  if (!Started()) {
    return;
  }
  if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, kWindowTimeoutMs);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

HWND RunningProgram::WaitForWindow(DWORD timeoutMs) {
  if (!Started()) {
    return nullptr;
  }
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  do {
    // Looked at before the exit, so that a window shown just before the end is not missed.
    const bool ended = WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
    WindowSearch search = {process_.dwProcessId, nullptr};
    EnumWindows(TakeDialogWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr || ended) {
      return search.found;
    }
    Sleep(kPollIntervalMs);
  } while (GetTickCount64() < deadline);
  return nullptr;
}

bool RunningProgram::WaitUntilClosed(HWND window, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (IsWindow(window) && IsWindowVisible(window)) {
    if (GetTickCount64() >= deadline) {
      return false;
    }
    Sleep(kPollIntervalMs);
  }
  return true;
}

bool RunningProgram::WaitForExit(DWORD* exitCode, DWORD timeoutMs) {
  if (!Started() || WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) {
    return false;
  }
  return GetExitCodeProcess(process_.hProcess, exitCode) != FALSE;
}

std::string WindowText(HWND window) {
  // WM_GETTEXT is marshalled between processes; the length message tells how much to ask for.
  const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied =
      SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(copied));
  return Narrow(text);
}

std::string ControlText(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  return control != nullptr ? WindowText(control) : std::string();
}

std::vector<std::string> ComboBoxItems(HWND comboBox) {
  // The wide message: under Wine the narrow one gives only the first character across processes.
  std::vector<std::string> items;
  const LRESULT count = SendMessageW(comboBox, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(comboBox, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring item(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
    const LRESULT copied = SendMessageW(comboBox, CB_GETLBTEXT, static_cast<WPARAM>(i),
                                        reinterpret_cast<LPARAM>(item.data()));
    item.resize(static_cast<size_t>(std::max<LRESULT>(copied, 0)));
    items.push_back(Narrow(item));
  }
  return items;
}

MessageBoxView ViewMessageBox(HWND messageBox) {
  MessageBoxView view = {};
  view.title = WindowText(messageBox);
  // The platform's message box keeps its text in the static control 0xFFFF.
  view.text = ControlText(messageBox, 0xFFFF);
  view.owned = GetWindow(messageBox, GW_OWNER) != nullptr;
  for (HWND child = GetWindow(messageBox, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    char className[16] = "";
    GetClassNameA(child, className, sizeof className);
    const std::string kind = className;
    if (_stricmp(kind.c_str(), "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
      view.icon = view.icon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
    } else if (_stricmp(kind.c_str(), "Button") == 0 && (style & WS_VISIBLE) != 0) {
      view.buttons.push_back(GetDlgCtrlID(child));
    }
  }
  std::sort(view.buttons.begin(), view.buttons.end());
  return view;
}

void PressButton(HWND window, int commandId) {
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(commandId, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, commandId)));
}

void PressKey(HWND control, UINT key) {
  const LPARAM scanCode = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
  PostMessageW(control, WM_KEYDOWN, key, scanCode | 1);
  // A key going up: repeat count 1, previously down, being released.
  PostMessageW(control, WM_KEYUP, key, scanCode | static_cast<LPARAM>(0xC0000001u));
}

bool SaveWindowPicture(HWND window, const std::string& path) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  // The program paints on its own thread; a message it has answered means its queue is through.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
  RECT area = {};
  if (!GetWindowRect(window, &area)) {
    return false;
  }
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO format = {};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = -height;  // top row first
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP picture = CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool copied = false;
  if (picture != nullptr) {
    HGDIOBJ previous = SelectObject(memory, picture);
    copied = BitBlt(memory, 0, 0, width, height, screen, area.left, area.top,
                    SRCCOPY | CAPTUREBLT) != FALSE;
    GdiFlush();
    SelectObject(memory, previous);
  }
  std::string rows;
  if (copied) {
    const uint8_t* pixels = static_cast<const uint8_t*>(bits);
    rows.reserve(static_cast<size_t>(height) * (static_cast<size_t>(width) * 3 + 1));
    for (int y = 0; y < height; ++y) {
      rows.push_back('\0');  // filter: none
      for (int x = 0; x < width; ++x) {
        const uint8_t* bgra = pixels + (static_cast<size_t>(y) * width + x) * 4;
        rows +=
            {static_cast<char>(bgra[2]), static_cast<char>(bgra[1]), static_cast<char>(bgra[0])};
      }
    }
  }
  if (picture != nullptr) {
    DeleteObject(picture);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (!copied) {
    return false;
  }
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << PngWriter::Encode(width, height, rows);
  return static_cast<bool>(file);
}

}  // namespace test
