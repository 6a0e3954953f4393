// Printers that announce themselves on the local network (DNS-SD `_printer._tcp` for LPD, and
// `_ipp._tcp`, `_ipps._tcp`, `_pdl-datastream._tcp`, one event per announcement), through
// the Avahi daemon's client library on the GLib main loop. That library lives in a module of
// the program's own, loaded at the first search (dnssd_module.h).
#pragma once

#include <functional>
#include <string>

struct AnnouncedPrinter {
  std::string name;      // the service name people gave it
  std::string hostName;  // as announced (NAME.local)
  std::string address;   // what it resolved to, for the LPD Server entry
  bool lpd = false;      // announced as `_printer._tcp`
  // LPD: its "rp" text record, empty without one. Otherwise a guess from the resource path.
  std::string queue;
};

// kNoModule: the module or the libraries it needs cannot be loaded (dnssdModuleError says why).
enum class DnssdOutcome { kFound, kNothingFound, kNoDaemon, kNoModule };

struct DnssdEvents {
  // Also after finished: the search goes on, quietly, until it is stopped.
  std::function<void(const AnnouncedPrinter& printer)> printerFound;
  // Once: when the daemon has told all it knows, or at the time limit.
  std::function<void(DnssdOutcome outcome)> finished;
};

// Seconds that announcements are waited for.
inline constexpr unsigned kDnssdSearchSeconds = 5;

class DnssdSearch;
// Starts browsing; without a reachable Avahi daemon it finishes with kNoDaemon from the main
// loop, never from within this call.
DnssdSearch* startDnssdSearch(DnssdEvents events);
// Stops at once (no event follows) and frees the search; also after it finished.
void stopDnssdSearch(DnssdSearch* search);
// Why the module could not be loaded (the loader's own words); empty while it could.
std::string dnssdModuleError();
