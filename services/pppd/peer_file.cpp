#include "peer_file.h"

#include <cstring>

#include "entry_fields.h"
#include "framework/text.h"
#include "ppp_system.h"
#include "service_answers.h"

namespace {

constexpr char kRecordMark[] = "#: dialkit entry 1";
constexpr char kRecordLine[] = "#: ";
constexpr char kLineSpeed[] = "115200";
constexpr char kModemDialCharacters[] = "0123456789*#,WwPpTt!@";

// A text as one word of pppd's option files: in double quotes, with a backslash before a
// backslash or a double quote.
std::string PppQuoted(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
    }
    quoted += c;
  }
  return quoted + "\"";
}

// A text as one word of the shell that runs pppd's connect and pty commands.
std::string ShellQuoted(std::string_view text) {
  std::string quoted = "'";
  for (const char c : text) {
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return quoted + "'";
}

std::string Dotted(const RASIPADDR& address) {
  return std::to_string(address.a) + "." + std::to_string(address.b) + "." +
         std::to_string(address.c) + "." + std::to_string(address.d);
}

bool IsZero(const RASIPADDR& address) {
  return address.a == 0 && address.b == 0 && address.c == 0 && address.d == 0;
}

// The peer file's lines, each option with what it comes from.
class CPeerWriter {
 public:
  void Comment(std::string_view text) { text_.append("# ").append(text).append("\n"); }
  void Option(std::string_view option, std::string_view why) {
    text_.append(option).append(option.size() < 28 ? 28 - option.size() : 1, ' ');
    text_.append("# ").append(why).append("\n");
  }
  // A field with a value that pppd has no use for.
  void NotApplied(std::string_view field, std::string_view value, std::string_view why) {
    text_.append("# not applied on Linux: ").append(field);
    if (!value.empty()) {
      text_.append(" ").append(value);
    }
    text_.append(": ").append(why).append("\n");
  }
  void Blank() { text_.append("#\n"); }
  std::string& Text() { return text_; }

 private:
  std::string text_;
};

struct COptionNote {
  DWORD bit;
  const char* why;
};

// The options that pppd has nothing for, and why.
constexpr COptionNote kOptionsNotApplied[] = {
    {RASEO_DisableLcpExtensions, "pppd sends no LCP extensions to turn off"},
    {RASEO_TerminalBeforeDial, "no terminal window; the chat script does the dialogue"},
    {RASEO_TerminalAfterDial, "no terminal window; the chat script does the dialogue"},
    {RASEO_ModemLights, "there are no modem lights to show"},
    {RASEO_NetworkLogon, "Windows domain logon"},
    {RASEO_UseLogonCredentials, "Windows logon credentials"},
    {RASEO_PromoteAlternates, "pppd dials one number"},
};

void WriteRecord(CPeerWriter& out, const RASENTRYA& record) {
  std::string& text = out.Text();
  text.append(kRecordMark).append("\n");
  AppendStoredRecord(text, record, kRecordLine);
}

void WriteAddressesAndNames(CPeerWriter& out, const RASENTRYA& record) {
  const DWORD options = record.dwfOptions;
  if ((options & RASEO_SpecificIpAddr) != 0) {
    out.Option(Dotted(record.ipaddr) + ":", "SpecificIpAddr: this end's address");
  } else {
    out.Option("noipdefault", "no SpecificIpAddr: the peer gives the address");
    if (!IsZero(record.ipaddr)) {
      out.NotApplied("ipaddr", Dotted(record.ipaddr), "SpecificIpAddr is off");
    }
  }
  if ((options & RASEO_SpecificNameServers) != 0) {
    const RASIPADDR servers[] = {record.ipaddrDns, record.ipaddrDnsAlt};
    for (int i = 0; i < 2; ++i) {
      if (!IsZero(servers[i])) {
        out.Option("set DNS" + std::to_string(i + 1) + "=" + Dotted(servers[i]),
                   "SpecificNameServers, for the ip-up scripts");
      }
    }
    out.Comment(
        "(Debian's ip-up hook takes only the peer's name servers: to use these, put them into "
        "/etc/resolv.conf)");
  } else {
    out.Option("usepeerdns", "no SpecificNameServers: the peer's name servers");
  }
  for (const auto& [name, address] : {std::pair{"ipaddrWins", record.ipaddrWins},
                                      std::pair{"ipaddrWinsAlt", record.ipaddrWinsAlt}}) {
    if (!IsZero(address)) {
      out.NotApplied(name, Dotted(address), "WINS name servers are Windows's");
    }
  }
}

void WriteOptions(CPeerWriter& out, const RASENTRYA& record) {
  const DWORD options = record.dwfOptions;
  if ((options & RASEO_RemoteDefaultGateway) != 0) {
    out.Option("defaultroute", "RemoteDefaultGateway");
  } else {
    out.Option("nodefaultroute", "no RemoteDefaultGateway");
  }
  if ((options & RASEO_IpHeaderCompression) == 0) {
    out.Option("novj", "no IpHeaderCompression");
  }
  if ((options & RASEO_SwCompression) == 0) {
    out.Option("nobsdcomp", "no SwCompression");
    out.Option("nodeflate", "no SwCompression");
  }
  if ((options & (RASEO_RequireEncryptedPw | RASEO_RequireMsEncryptedPw)) != 0) {
    out.Option("refuse-pap", "RequireEncryptedPw: no password in clear text");
  }
  if ((options & RASEO_RequireMsEncryptedPw) != 0) {
    out.Option("refuse-chap", "RequireMsEncryptedPw: MS-CHAP only");
    out.Option("refuse-eap", "RequireMsEncryptedPw: MS-CHAP only");
  }
  if ((options & RASEO_RequireDataEncryption) != 0) {
    out.Option("require-mppe", "RequireDataEncryption");
  }
  for (const COptionNote& note : kOptionsNotApplied) {
    if ((options & note.bit) != 0) {
      for (const BitName& name : kOptionBitNames) {
        if (name.bit == note.bit) {
          out.NotApplied(name.name, "", note.why);
        }
      }
    }
  }
  if ((record.dwfNetProtocols & RASNP_Ip) == 0) {
    out.Option("noip", "NetProtocols without IP");
  }
  if ((record.dwfNetProtocols & RASNP_Ipx) != 0) {
    out.NotApplied("NetProtocols", "IPX", "pppd carries IP only");
  }
  if ((record.dwfNetProtocols & RASNP_NetBEUI) != 0) {
    out.NotApplied("NetProtocols", "NETBEUI", "pppd carries IP only");
  }
}

void WriteUnusedFields(CPeerWriter& out, const RASENTRYA& record) {
  const struct {
    const char* field;
    std::string_view text;
    const char* why;
  } texts[] = {
      {"Script", FieldText(record.szScript), "a Windows dial script; the chat script dials"},
      {"AutodialDll", FieldText(record.szAutodialDll), "Windows's autodial"},
      {"AutodialFunc", FieldText(record.szAutodialFunc), "Windows's autodial"},
      {"X25PadType", FieldText(record.szX25PadType), "no X.25"},
      {"X25Address", FieldText(record.szX25Address), "no X.25"},
      {"X25Facilities", FieldText(record.szX25Facilities), "no X.25"},
      {"X25UserData", FieldText(record.szX25UserData), "no X.25"},
  };
  for (const auto& text : texts) {
    if (!text.text.empty()) {
      std::string escaped;
      AppendEscapedStoredText(escaped, text.text);
      out.NotApplied(text.field, escaped, text.why);
    }
  }
  const struct {
    const char* field;
    DWORD value;
    const char* why;
  } numbers[] = {
      {"AlternatesOffset", record.dwAlternateOffset, "pppd dials one number"},
      {"FrameSize", record.dwFrameSize, "a SLIP frame size; PPP agrees its own"},
      {"Channels", record.dwChannels, "one channel"},
      {"Reserved1", record.dwReserved1, "reserved"},
      {"Reserved2", record.dwReserved2, "reserved"},
  };
  for (const auto& number : numbers) {
    if (number.value != 0) {
      out.NotApplied(number.field, std::to_string(number.value), number.why);
    }
  }
}

}  // namespace

bool IsPeerName(const char* name) {
  return IsPlatformEntryName(name) && std::strlen(name) <= 255;
}

std::string DialString(const RASENTRYA& record) {
  std::string number;
  if ((record.dwfOptions & RASEO_UseCountryAndAreaCodes) != 0) {
    number.append(FieldText(record.szAreaCode));
  }
  number.append(FieldText(record.szLocalPhoneNumber));
  std::string dialled;
  for (const char c : number) {
    if (c != '\0' && std::strchr(kModemDialCharacters, c) != nullptr) {
      dialled += c;
    }
  }
  return dialled;
}

DWORD FormatPeer(std::string_view name, const RASENTRYA& record, const std::string& root,
                 CPeerTexts* texts) {
  if (record.dwFramingProtocol != RASFP_Ppp) {
    return kErrorNotSupported;
  }
  const bool vpn = FieldText(record.szDeviceType) == kVpnType;
  const std::string device = DevicePathOf(FieldText(record.szDeviceName));
  if (!vpn && device.empty()) {
    return kErrorDeviceDoesNotExist;
  }
  CPeerWriter out;
  out.Comment("pppd peer " + PppQuoted(name) + ": `pon " + ShellQuoted(name) +
              "` dials it, `poff " + ShellQuoted(name) + "` hangs up.");
  out.Comment("Written by dialkit from its phone-book entry, which the lines that start with");
  out.Comment("\"#:\" keep. Without them this is a file of your own, which dialkit replaces only");
  out.Comment("after asking.");
  WriteRecord(out, record);
  out.Blank();
  const std::string server(FieldText(record.szLocalPhoneNumber));
  if (vpn) {
    out.Comment("The VPN server, " + PppQuoted(server) + ", dialled through pptp.");
    out.Text().append("pty ").append(
        PppQuoted(SystemProgram(root, "pptp") + " " + ShellQuoted(server) + " --nolaunchpppd"));
    out.Text().append("\n");
  } else {
    out.Option(device, "the modem: " + std::string(FieldText(record.szDeviceName)));
    out.Option(kLineSpeed, "the serial line's speed");
    out.Option("modem", "the modem's control lines");
    out.Option("crtscts", "hardware flow control");
    out.Option("lock", "a lock file for the port");
    const std::string number = DialString(record);
    out.Comment("The chat script dials " +
                (number.empty() ? "nothing: no number is given" : number) +
                ((record.dwfOptions & RASEO_UseCountryAndAreaCodes) != 0
                     ? " (the area code, then the number; the country code, " +
                           std::to_string(record.dwCountryCode) + ", is not dialled)"
                     : ""));
    out.Text()
        .append("connect ")
        .append(PppQuoted(SystemProgram(root, "chat") + " -v -f " +
                          ShellQuoted(ChatScriptPath(root, name))));
    out.Text().append("\n");
    texts->chat = "# Chat script of the pppd peer " + PppQuoted(name) +
                  ", written by dialkit: it dials " + number +
                  ".\nABORT BUSY\nABORT 'NO CARRIER'\nABORT VOICE\nABORT 'NO DIALTONE'\n"
                  "ABORT 'NO DIAL TONE'\nABORT 'NO ANSWER'\nABORT DELAYED\nTIMEOUT 60\n"
                  "'' ATZ\nOK ATDT" +
                  number + "\nCONNECT ''\n";
  }
  out.Option("noauth", "the peer need not prove who it is");
  out.Option("ipparam " + PppQuoted(name), "the entry's name, for the ip-up scripts");
  WriteAddressesAndNames(out, record);
  WriteOptions(out, record);
  WriteUnusedFields(out, record);
  texts->peer = std::move(out.Text());
  if (vpn) {
    texts->chat.clear();
  }
  return 0;
}

bool ReadPeerRecord(std::string_view peer, RASENTRYA* record) {
  const size_t mark = peer.find(std::string(kRecordMark) + "\n");
  if (mark == std::string_view::npos || (mark > 0 && peer[mark - 1] != '\n')) {
    return false;
  }
  if (record == nullptr) {
    return true;
  }
  *record = {};
  record->dwSize = kEntryRecordSize;
  size_t next = 0;
  for (size_t at = peer.find('\n', mark) + 1; at < peer.size();) {
    const size_t end = std::min(peer.find('\n', at), peer.size());
    const std::string_view line = peer.substr(at, end - at);
    at = end + 1;
    if (!line.starts_with(kRecordLine)) {
      break;
    }
    ReadStoredLine(record, line.substr(std::strlen(kRecordLine)), &next);
  }
  return true;
}
