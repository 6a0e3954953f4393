#include "find/replies.h"

#include <glib.h>

#include <algorithm>
#include <memory>

#include "app/text.h"

namespace {

bool containsIgnoreCase(const std::string& text, const char* word) {
  return strTolower(text).find(word) != std::string::npos;
}

bool containsAnyIgnoreCase(const std::string& text, std::initializer_list<const char*> words) {
  const std::string lower = strTolower(text);
  return std::any_of(words.begin(), words.end(),
                     [&](const char* w) { return lower.find(w) != std::string::npos; });
}

std::string validUtf8(const std::string& text) {
  // A NUL byte from the network ends the text, as the toolkit would read it.
  std::unique_ptr<gchar, decltype(&g_free)> valid(g_utf8_make_valid(text.c_str(), -1), &g_free);
  return valid.get();
}

// What a printcap field and a command line can take bare: no blank, no control byte, no ':'.
bool plausibleQueue(const std::string& name) {
  if (name.empty() || name.size() > 128) return false;
  for (unsigned char c : name) {
    if (c <= ' ' || c == 0x7f || c == ':' || c == '@' || c >= 0x80) return false;
  }
  return true;
}

std::string firstWord(const std::string& line) {
  const std::size_t start = line.find_first_not_of(" \t");
  if (start == std::string::npos) return "";
  return line.substr(start, line.find_first_of(" \t", start) - start);
}

std::string withoutCarriageReturn(std::string line) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

}  // namespace

bool plausibleHost(const std::string& host) {
  if (host.empty() || host.size() > 253 || host[0] == '-') return false;
  return std::all_of(host.begin(), host.end(), [](unsigned char c) {
    return g_ascii_isalnum(c) || c == '.' || c == '-' || c == '_';
  });
}

std::vector<std::string> lprngQueues(const std::string& reply) {
  std::vector<std::string> queues;
  for (std::string line : wholeLines(reply)) {
    line = withoutCarriageReturn(line);
    if (line.find("ERROR") != std::string::npos) continue;
    if (startsWith(line, "Printer: ")) line = line.substr(9);
    const std::string word = firstWord(line);
    const std::size_t at = word.find('@');
    if (at == std::string::npos || at == 0) continue;
    const std::string queue = word.substr(0, at);
    // "all" is what was asked; a host that echoes it names no queue.
    if (queue != "all" && plausibleQueue(queue) &&
        std::find(queues.begin(), queues.end(), queue) == queues.end())
      queues.push_back(queue);
  }
  return queues;
}

bool probedQueueExists(const std::string& reply) {
  if (reply.find_first_not_of(" \t\r\n") == std::string::npos) return false;
  return !containsAnyIgnoreCase(reply, {"error", "not exist", "unknown", "no such", "invalid",
                                        "not found", "permission", "denied", "reject"});
}

std::string lpdRefusal(const std::string& reply) {
  for (const std::string& line : wholeLines(reply)) {
    if (containsAnyIgnoreCase(line, {"permission", "denied", "reject"}))
      return validUtf8(withoutCarriageReturn(line));
  }
  return "";
}

namespace {

std::optional<std::string> rpRecord(const std::vector<std::string>& textRecords) {
  for (const std::string& record : textRecords) {
    if (record.size() >= 3 && startsWith(record, "rp=", true)) return record.substr(3);
  }
  return std::nullopt;
}

// Samba's words when the name does not lead to a host: no NetBIOS answer, no address, no DNS.
bool unknownHostLine(const std::string& line) {
  return line.find("Connection to ") != std::string::npos &&
         containsAnyIgnoreCase(
             line, {"nt_status_not_found", "nt_status_invalid_address", "nt_status_unsuccessful"});
}

ListingOutcome outcomeOfStatusLine(const std::string& line) {
  if (containsAnyIgnoreCase(line, {"logon_failure", "access_denied", "account_", "password",
                                   "wrong_password", "no_logon_servers"}))
    return ListingOutcome::kDenied;
  if (containsIgnoreCase(line, "connection_refused")) return ListingOutcome::kNoServer;
  if (containsAnyIgnoreCase(line, {"io_timeout", "host_unreachable", "network_unreachable",
                                   "connection_disconnected"}))
    return ListingOutcome::kNotAnswering;
  if (unknownHostLine(line)) return ListingOutcome::kUnknownHost;
  return ListingOutcome::kFailed;
}

}  // namespace

std::optional<std::string> announcedQueue(const std::vector<std::string>& textRecords) {
  const std::optional<std::string> queue = rpRecord(textRecords);
  if (!queue || !plausibleQueue(*queue)) return std::nullopt;
  return queue;
}

std::string ippQueueHint(const std::vector<std::string>& textRecords) {
  const std::string path = rpRecord(textRecords).value_or("");
  const std::string last = path.substr(path.rfind('/') + 1);
  return plausibleQueue(last) ? last : "";
}

ShareNameFault shareNameFault(const std::string& name) {
  if (name.empty()) return ShareNameFault::kEmpty;
  if (!hasControlOr(name, ' ')) return ShareNameFault::kNone;
  return name.find(' ') != std::string::npos ? ShareNameFault::kBlank : ShareNameFault::kControl;
}

ShareListing parseShareListing(const std::string& output, bool failed) {
  ShareListing listing;
  std::string lastLine;
  for (std::string line : wholeLines(output)) {
    line = withoutCarriageReturn(line);
    if (line.find_first_not_of(" \t") != std::string::npos) lastLine = line;
    if (startsWith(line, "Printer|")) {
      const std::string rest = line.substr(8);
      const std::size_t bar = rest.find('|');
      PrinterShare share{validUtf8(rest.substr(0, bar)),
                         bar == std::string::npos ? "" : validUtf8(rest.substr(bar + 1))};
      if (!share.name.empty()) listing.printers.push_back(share);
      continue;
    }
    if (line.find("NT_STATUS_") == std::string::npos || !listing.reason.empty()) continue;
    listing.reason = validUtf8(strtrimF(line, " \t"));
    listing.outcome = outcomeOfStatusLine(line);
  }
  // A crash or an exit status with no word of why is a failure, never "no printer".
  if (failed && listing.reason.empty() && listing.printers.empty()) {
    listing.outcome = ListingOutcome::kFailed;
    listing.reason = validUtf8(strtrimF(lastLine, " \t"));
  }
  // A server that lists and then says something about its workgroup still listed.
  if (!listing.printers.empty()) listing.outcome = ListingOutcome::kListed;
  return listing;
}

std::string smbAuthenticationFile(const std::string& user, const std::string& password,
                                  const std::string& workgroup) {
  std::string file = "username = " + user + "\npassword = " + password + "\n";
  if (!workgroup.empty()) file += "domain = " + workgroup + "\n";
  return file;
}
