// What the network answers when printers are looked for, read without widgets or sockets: an
// LPD host's queue status, a DNS-SD announcement's text records and smbclient's share listing.
// Every reply is data from elsewhere: any bytes, any size; nothing here trusts it.
#pragma once

#include <optional>
#include <string>
#include <vector>

// A name that may be asked about on the network and typed into the editor: a host name or an
// IPv4 address ([A-Za-z0-9._-], not starting with '-', at most 253 bytes).
bool plausibleHost(const std::string& host);

// The queues an LPRng host names in its status reply (short "QUEUE@HOST ..." or long
// "Printer: QUEUE@HOST ..." lines), in order, once each; lines saying ERROR name none, nor
// does "all" (the name asked). Only names a printcap field can hold are kept.
std::vector<std::string> lprngQueues(const std::string& reply);
// Whether a host's status reply for one probed queue name says that queue exists: some text,
// and no word of an error or refusal in it.
bool probedQueueExists(const std::string& reply);
// The line of a reply in which the server refuses to answer (permission, denied, reject);
// empty when there is none.
std::string lpdRefusal(const std::string& reply);

// The queue a DNS-SD `_printer._tcp` announcement names: its "rp" text record; none without a
// usable one (RFC 1179 printers then take "lp"). Records are "key=value"; keys compare without
// case.
std::optional<std::string> announcedQueue(const std::vector<std::string>& textRecords);
// An IPP announcement's "rp" is a resource path ("ipp/print", "printers/laser"): its last part
// may also be the printer's LPD queue. Empty when it names none.
std::string ippQueueHint(const std::vector<std::string>& textRecords);

// Why a share name cannot be a Shared Printer: the Samba print script takes no blank or control
// byte in it. One test for the editor's check and the share list alike.
enum class ShareNameFault { kNone, kEmpty, kBlank, kControl };
ShareNameFault shareNameFault(const std::string& name);

// One printer share of a Samba server.
struct PrinterShare {
  std::string name, comment;
};
// How a share listing ended, from what smbclient printed.
enum class ListingOutcome { kListed, kUnknownHost, kDenied, kNoServer, kNotAnswering, kFailed };
struct ShareListing {
  std::vector<PrinterShare> printers;
  ListingOutcome outcome = ListingOutcome::kListed;
  std::string reason;  // smbclient's own line for anything but kListed
};
// Reads `smbclient -L SERVER -g` output: "Printer|NAME|COMMENT" lines are the printer shares
// (other kinds are left out); an NT_STATUS line says why there is no listing. A run that failed
// (exit status, signal) without one is kFailed with its last line. Texts come back as valid
// UTF-8.
ShareListing parseShareListing(const std::string& output, bool failed = false);
// The content of smbclient's --authentication-file for a user (domain only when given).
std::string smbAuthenticationFile(const std::string& user, const std::string& password,
                                  const std::string& workgroup);
