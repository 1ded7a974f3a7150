// The peer file written from a record.
#include "peer_file.h"

#include <cstring>
#include <initializer_list>

#include "base/text.h"
#include "entry/record_fields.h"
#include "entry_fields.h"
#include "peer_words.h"
#include "ppp_system.h"
#include "service_answers.h"

namespace {

constexpr char kLineSpeed[] = "115200";
constexpr char kModemDialCharacters[] = "0123456789*#,WwPpTt!@";

// The modem's dialogue, as chat's arguments: give up on what a modem answers when no connection
// comes, reset it, dial, wait for the connection.
constexpr const char* kDialogueBefore[] = {
    "ABORT", "BUSY",         "ABORT", "NO CARRIER", "ABORT", "VOICE",   "ABORT",   "NO DIALTONE",
    "ABORT", "NO DIAL TONE", "ABORT", "NO ANSWER",  "ABORT", "DELAYED", "TIMEOUT", "60",
    "",      "ATZ",          "OK"};
constexpr const char* kDialogueAfter[] = {"CONNECT", ""};

bool IsZero(const RASIPADDR& address) {
  return address.a == 0 && address.b == 0 && address.c == 0 && address.d == 0;
}

const char* StrategyName(DWORD vpnStrategy) {
  for (const BitName& name : kVpnStrategyNames) {
    if (name.bit == vpnStrategy) {
      return name.name;
    }
  }
  return "Default";
}

// The peer file's lines: options, each of words that pppd reads as they were given, with what
// it comes from; and comments, which never hold a line break.
class CPeerWriter {
 public:
  void Comment(std::string_view text) { text_.append("# ").append(CommentText(text)) += '\n'; }
  void Option(std::initializer_list<std::string_view> words, std::string_view why) {
    const size_t start = text_.size();
    for (const std::string_view word : words) {
      tooLong_ = tooLong_ || word.size() > kPppWordLimit;
      text_.append(text_.size() == start ? "" : " ").append(PppWord(word));
    }
    const size_t width = text_.size() - start;
    text_.append(width < 28 ? 28 - width : 1, ' ').append("# ").append(CommentText(why)) += '\n';
  }
  // A field with a value that pppd has no use for.
  void NotApplied(std::string_view field, std::string_view value, std::string_view why) {
    Comment("not applied on Linux: " + std::string(field) + (value.empty() ? "" : " ") +
            std::string(value) + ": " + std::string(why));
  }
  void Record(std::string_view entryName, const RASENTRYA& record, const LongEntryRecord& later) {
    text_.append(kPeerRecordMark)
        .append("\n#: Name=")
        .append(EscapeStoredText(std::string(entryName)));
    text_ += '\n';
    AppendStoredRecord(text_, record, "#: ");
    AppendLaterStoredFields(text_, later, "#: ");
  }
  void Blank() { text_.append("#\n"); }
  bool TooLong() const { return tooLong_; }
  std::string& Text() { return text_; }

 private:
  std::string text_;
  bool tooLong_ = false;
};

struct COptionNote {
  DWORD bit;
  const char* why;
};

// The options that pppd has nothing for, and why.
constexpr COptionNote kOptionsNotApplied[] = {
    {RASEO_DisableLcpExtensions, "pppd sends no LCP extensions to turn off"},
    {RASEO_TerminalBeforeDial, "no terminal window; chat does the dialogue"},
    {RASEO_TerminalAfterDial, "no terminal window; chat does the dialogue"},
    {RASEO_ModemLights, "there are no modem lights to show"},
    {RASEO_NetworkLogon, "Windows domain logon"},
    {RASEO_UseLogonCredentials, "Windows logon credentials"},
    {RASEO_PromoteAlternates, "pppd dials one number"},
};

// chat's command line, which pppd hands to the shell: the modem's whole dialogue.
std::string ChatCommand(const std::string& root, const std::string& number) {
  std::string command = ShellWord(SystemProgram(root, "chat")) + " -v";
  for (const char* word : kDialogueBefore) {
    command.append(" ").append(*word == '\0' ? "''" : ShellWord(word));
  }
  command.append(" ").append(ShellWord("ATDT" + number));
  for (const char* word : kDialogueAfter) {
    command.append(" ").append(*word == '\0' ? "''" : ShellWord(word));
  }
  return command;
}

void WriteModem(CPeerWriter& out, const RASENTRYA& record, const std::string& root,
                const std::string& port) {
  out.Option({port}, "the modem: " + std::string(FieldText(record.szDeviceName)));
  out.Option({kLineSpeed}, "the serial line's speed");
  out.Option({"modem"}, "the modem's control lines");
  out.Option({"crtscts"}, "hardware flow control");
  out.Option({"lock"}, "a lock file for the port");
  const std::string number = DialString(record);
  out.Comment("chat dials " + (number.empty() ? "nothing: no number is given" : number) +
              ((record.dwfOptions & RASEO_UseCountryAndAreaCodes) != 0
                   ? " (the area code, then the number; the country code, " +
                         std::to_string(record.dwCountryCode) + ", is not dialled)"
                   : ""));
  out.Option({"connect", ChatCommand(root, number)}, "the modem's dialogue");
}

void WriteAddressesAndNames(CPeerWriter& out, const RASENTRYA& record) {
  const DWORD options = record.dwfOptions;
  if ((options & RASEO_SpecificIpAddr) != 0) {
    out.Option({DottedAddress(record.ipaddr) + ":"}, "SpecificIpAddr: this end's address");
  } else {
    out.Option({"noipdefault"}, "no SpecificIpAddr: the peer gives the address");
    if (!IsZero(record.ipaddr)) {
      out.NotApplied("ipaddr", DottedAddress(record.ipaddr), "SpecificIpAddr is off");
    }
  }
  if ((options & RASEO_SpecificNameServers) != 0) {
    const RASIPADDR servers[] = {record.ipaddrDns, record.ipaddrDnsAlt};
    for (int i = 0; i < 2; ++i) {
      if (!IsZero(servers[i])) {
        out.Option({"set", "DNS" + std::to_string(i + 1) + "=" + DottedAddress(servers[i])},
                   "SpecificNameServers, for the ip-up scripts");
      }
    }
    out.Comment(
        "(Debian's ip-up hook takes only the peer's name servers: to use these, put them into "
        "/etc/resolv.conf)");
  } else {
    out.Option({"usepeerdns"}, "no SpecificNameServers: the peer's name servers");
  }
  for (const RecordField& wins : {FieldNamed("ipaddrWins"), FieldNamed("ipaddrWinsAlt")}) {
    const std::string address = DottedOf(record, wins);
    if (address != "0.0.0.0") {
      out.NotApplied(wins.name, address, "WINS name servers are Windows's");
    }
  }
}

void WriteOptions(CPeerWriter& out, const RASENTRYA& record) {
  const DWORD options = record.dwfOptions;
  // As on Windows, the connection becomes the default route, also over one that has it.
  if ((options & RASEO_RemoteDefaultGateway) != 0) {
    out.Option({"defaultroute"}, "RemoteDefaultGateway");
    out.Option({"replacedefaultroute"}, "RemoteDefaultGateway, over an existing default route");
  } else {
    out.Option({"nodefaultroute"}, "no RemoteDefaultGateway");
  }
  if ((options & RASEO_IpHeaderCompression) == 0) {
    out.Option({"novj"}, "no IpHeaderCompression");
  }
  if ((options & RASEO_SwCompression) == 0) {
    for (const char* option : {"nobsdcomp", "nodeflate", "nopredictor1"}) {
      out.Option({option}, "no SwCompression");
    }
  }
  // MPPE takes its keys from MS-CHAP: data encryption allows no other authentication either.
  const bool msChapOnly =
      (options & (RASEO_RequireMsEncryptedPw | RASEO_RequireDataEncryption)) != 0;
  if ((options & RASEO_RequireEncryptedPw) != 0 || msChapOnly) {
    out.Option({"refuse-pap"}, "no password in clear text");
  }
  if (msChapOnly) {
    out.Option({"refuse-chap"}, "MS-CHAP only");
    out.Option({"refuse-eap"}, "MS-CHAP only");
  }
  if ((options & RASEO_RequireDataEncryption) != 0) {
    out.Option({"require-mppe"}, "RequireDataEncryption");
  }
  for (const COptionNote& note : kOptionsNotApplied) {
    for (const BitName& name : kOptionBitNames) {
      if ((options & note.bit) != 0 && name.bit == note.bit) {
        out.NotApplied(name.name, "", note.why);
      }
    }
  }
  if ((record.dwfNetProtocols & RASNP_Ip) == 0) {
    out.Option({"noip"}, "NetProtocols without IP");
  }
  if ((record.dwfNetProtocols & RASNP_Ipx) != 0) {
    out.NotApplied("NetProtocols", "IPX", "pppd carries IP only");
  }
  if ((record.dwfNetProtocols & RASNP_NetBEUI) != 0) {
    out.NotApplied("NetProtocols", "NETBEUI", "pppd carries IP only");
  }
}

struct CFieldNote {
  const RecordField& field;
  const char* why;
};

// The fields that pppd has no use for, and why; each is named when it holds a value.
constexpr CFieldNote kFieldsNotApplied[] = {
    {FieldNamed("szScript"), "a Windows dial script; chat dials"},
    {FieldNamed("szAutodialDll"), "Windows's autodial"},
    {FieldNamed("szAutodialFunc"), "Windows's autodial"},
    {FieldNamed("szX25PadType"), "no X.25"},
    {FieldNamed("szX25Address"), "no X.25"},
    {FieldNamed("szX25Facilities"), "no X.25"},
    {FieldNamed("szX25UserData"), "no X.25"},
    {FieldNamed("dwAlternateOffset"), "pppd dials one number"},
    {FieldNamed("dwFrameSize"), "a SLIP frame size; PPP agrees its own"},
    {FieldNamed("dwChannels"), "one channel"},
    {FieldNamed("dwReserved1"), "reserved"},
    {FieldNamed("dwReserved2"), "reserved"},
};

void WriteUnusedFields(CPeerWriter& out, const RASENTRYA& record) {
  for (const CFieldNote& note : kFieldsNotApplied) {
    std::string value;
    if (note.field.kind == FieldKind::kText) {
      value = TextOf(record, note.field);
    } else if (DwordOf(record, note.field) != 0) {
      value = std::to_string(DwordOf(record, note.field));
    }
    if (!value.empty()) {
      out.NotApplied(note.field.name, value, note.why);
    }
  }
}

}  // namespace

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

bool PeerTakesStrategy(DWORD vpnStrategy) {
  return vpnStrategy <= VS_Ikev2First && vpnStrategy != VS_L2tpOnly && vpnStrategy != VS_SstpOnly &&
         vpnStrategy != VS_Ikev2Only;
}

DWORD FormatPeer(std::string_view entryName, const RASENTRYA& record, const std::string& root,
                 std::string* peer, const LongEntryRecord& later) {
  const DWORD vpnStrategy = later.dwVpnStrategy;
  if (record.dwFramingProtocol != RASFP_Ppp || !PeerTakesStrategy(vpnStrategy)) {
    return kErrorNotSupported;
  }
  const bool vpn = FieldText(record.szDeviceType) == kVpnType;
  const std::string server(FieldText(record.szLocalPhoneNumber));
  const std::string port = vpn ? std::string() : ModemPort(root, FieldText(record.szDeviceName));
  if (vpn ? !IsServerName(server) : port.empty()) {
    return vpn ? ERROR_INVALID_PARAMETER : kErrorDeviceDoesNotExist;
  }
  const std::string file = PeerFileName(entryName);
  CPeerWriter out;
  out.Comment("pppd peer " + file + ", of the entry \"" + std::string(entryName) + "\": `pon " +
              file + "` dials it, `poff " + file + "` hangs up.");
  out.Comment("Written by dialkit from the entry that the lines starting with \"#:\" keep; it");
  out.Comment(
      "keeps the lines you add (user, persist, maxfail, ...) when it writes the file anew.");
  out.Comment("Change another line and the file is yours: dialkit replaces it only after asking.");
  out.Record(entryName, record, later);
  out.Blank();
  if (vpn && vpnStrategy > VS_PptpFirst) {
    out.Comment(std::string("VpnStrategy ") + StrategyName(vpnStrategy) +
                ": PPTP is the one tunnel here, which Windows too tries after the first");
  }
  if (vpn) {
    out.Option({"pty", ShellWord(SystemProgram(root, "pptp")) + " " + server + " --nolaunchpppd"},
               "the VPN server, through pptp");
  } else {
    WriteModem(out, record, root, port);
  }
  out.Option({"noauth"}, "the peer need not prove who it is");
  out.Option({"ipparam", file}, "the peer's name, for the ip-up scripts");
  WriteAddressesAndNames(out, record);
  WriteOptions(out, record);
  WriteUnusedFields(out, record);
  if (out.TooLong()) {
    return ERROR_INVALID_PARAMETER;
  }
  *peer = std::move(out.Text());
  return 0;
}
