// The DNS-SD search through the Avahi daemon, built as a module of its own (see dnssd_module.h).
#include "find/dnssd_module.h"

#include <avahi-client/client.h>
#include <avahi-client/lookup.h>
#include <avahi-common/error.h>
#include <avahi-glib/glib-watch.h>
#include <glib.h>

#include <vector>

namespace {

enum Outcome { kFound = 0, kNothingFound = 1, kNoDaemon = 2 };

// LPD first; printers sold today announce IPP and raw printing first, and many take LPD too.
const char* const kServiceTypes[] = {"_printer._tcp", "_ipp._tcp", "_ipps._tcp",
                                     "_pdl-datastream._tcp"};

class DnssdSearch {
 public:
  DnssdSearch(const SpmDnssdCalls& calls, unsigned seconds) : calls_(calls) {
    poll_ = avahi_glib_poll_new(nullptr, G_PRIORITY_DEFAULT);
    int error = 0;
    client_ = avahi_client_new(avahi_glib_poll_get(poll_), static_cast<AvahiClientFlags>(0),
                               &DnssdSearch::clientChanged, this, &error);
    // Said from the main loop, so the caller holds the search before any event.
    timer_ = client_ == nullptr ? g_idle_add(&DnssdSearch::noDaemon, this)
                                : g_timeout_add_seconds(seconds, &DnssdSearch::timeUp, this);
  }
  ~DnssdSearch() {
    if (timer_ != 0) g_source_remove(timer_);
    if (client_ != nullptr) avahi_client_free(client_);  // with its browser and resolvers
    avahi_glib_poll_free(poll_);
  }

 private:
  void finish(Outcome outcome) {
    if (finished_) return;
    finished_ = true;
    if (timer_ != 0) g_source_remove(timer_);
    timer_ = 0;
    calls_.finished(calls_.data, outcome);
  }
  void finishAsFound() { finish(found_ > 0 ? kFound : kNothingFound); }

  static gboolean noDaemon(gpointer self) {
    auto* search = static_cast<DnssdSearch*>(self);
    search->timer_ = 0;
    search->finish(kNoDaemon);
    return FALSE;
  }
  static gboolean timeUp(gpointer self) {
    auto* search = static_cast<DnssdSearch*>(self);
    search->timer_ = 0;
    search->finishAsFound();
    return FALSE;
  }

  static void clientChanged(AvahiClient* client, AvahiClientState state, void* self) {
    auto* search = static_cast<DnssdSearch*>(self);
    if (state == AVAHI_CLIENT_S_RUNNING && search->browsing_ == 0) {
      // IPv4 only: the spooler's printcap takes an address or a name, and one row per printer.
      for (const char* type : kServiceTypes) {
        if (avahi_service_browser_new(client, AVAHI_IF_UNSPEC, AVAHI_PROTO_INET, type, nullptr,
                                      static_cast<AvahiLookupFlags>(0),
                                      &DnssdSearch::serviceChanged, search) != nullptr)
          ++search->browsing_;
      }
    } else if (state == AVAHI_CLIENT_FAILURE && search->browsing_ != 0) {
      search->finishAsFound();  // the daemon went away meanwhile
    }
  }

  static void serviceChanged(AvahiServiceBrowser* browser, AvahiIfIndex interface,
                             AvahiProtocol protocol, AvahiBrowserEvent event, const char* name,
                             const char* type, const char* domain, AvahiLookupResultFlags,
                             void* self) {
    auto* search = static_cast<DnssdSearch*>(self);
    if (event == AVAHI_BROWSER_NEW) {
      AvahiServiceResolver* resolver = avahi_service_resolver_new(
          avahi_service_browser_get_client(browser), interface, protocol, name, type, domain,
          AVAHI_PROTO_INET, static_cast<AvahiLookupFlags>(0), &DnssdSearch::resolved, search);
      if (resolver != nullptr) ++search->resolving_;
    } else if (event == AVAHI_BROWSER_ALL_FOR_NOW) {
      ++search->allForNow_;
      search->finishWhenDone();
    } else if (event == AVAHI_BROWSER_FAILURE) {
      search->finishAsFound();
    }
  }

  void finishWhenDone() {
    if (allForNow_ == browsing_ && resolving_ == 0) finishAsFound();
  }

  static void resolved(AvahiServiceResolver* resolver, AvahiIfIndex, AvahiProtocol,
                       AvahiResolverEvent event, const char* name, const char* type, const char*,
                       const char* hostName, const AvahiAddress* address, uint16_t,
                       AvahiStringList* txt, AvahiLookupResultFlags, void* self) {
    auto* search = static_cast<DnssdSearch*>(self);
    // Also after the outcome was said: a printer that answers late still gets its row.
    if (event == AVAHI_RESOLVER_FOUND) {
      std::vector<const char*> records;
      std::vector<std::size_t> sizes;
      for (AvahiStringList* record = txt; record != nullptr;
           record = avahi_string_list_get_next(record)) {
        records.push_back(reinterpret_cast<const char*>(avahi_string_list_get_text(record)));
        sizes.push_back(avahi_string_list_get_size(record));
      }
      char text[AVAHI_ADDRESS_STR_MAX] = "";
      avahi_address_snprint(text, sizeof text, address);
      ++search->found_;
      search->calls_.found(search->calls_.data, name, type, hostName, text, records.data(),
                           sizes.data(), records.size());
    }
    avahi_service_resolver_free(resolver);
    --search->resolving_;
    search->finishWhenDone();
  }

  SpmDnssdCalls calls_;
  AvahiGLibPoll* poll_ = nullptr;
  AvahiClient* client_ = nullptr;
  guint timer_ = 0;
  int browsing_ = 0, allForNow_ = 0, resolving_ = 0, found_ = 0;
  bool finished_ = false;
};

}  // namespace

extern "C" __attribute__((visibility("default"))) void* spm_dnssd_start(const SpmDnssdCalls* calls,
                                                                        unsigned seconds) {
  return new DnssdSearch(*calls, seconds);
}

extern "C" __attribute__((visibility("default"))) void spm_dnssd_stop(void* search) {
  delete static_cast<DnssdSearch*>(search);
}
