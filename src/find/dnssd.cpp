#include "find/dnssd.h"

#include <dlfcn.h>
#include <glib.h>

#include <vector>

#include "app/startup.h"
#include "find/dnssd_module.h"
#include "find/replies.h"
#include "find/search_hook.h"

#ifndef SPM_DNSSD_MODULE
#error "SPM_DNSSD_MODULE names the DNS-SD module of this build"
#endif

namespace {

// The installed program takes the package's module, never one from a build folder.
const char* const kInstalledDnssdModule = "/usr/lib/solvo-printer-mgr/dnssd.so";

struct DnssdModule {
  SpmDnssdStart start = nullptr;
  SpmDnssdStop stop = nullptr;
  std::string error;
};

DnssdModule loadDnssdModule() {
  DnssdModule module;
  const char* path = runsInstalledProgram() ? kInstalledDnssdModule : SPM_DNSSD_MODULE;
  // Kept for the rest of the run: a search may be started again at any time.
  void* handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (handle != nullptr) {
    module.start = reinterpret_cast<SpmDnssdStart>(dlsym(handle, kSpmDnssdStartSymbol));
    module.stop = reinterpret_cast<SpmDnssdStop>(dlsym(handle, kSpmDnssdStopSymbol));
  }
  if (module.start == nullptr || module.stop == nullptr) {
    const char* reason = dlerror();
    module.error = reason != nullptr ? reason : path;
    module.start = nullptr;
  }
  return module;
}

const DnssdModule& dnssdModule() {
  static const DnssdModule module = loadDnssdModule();
  return module;
}

}  // namespace

class DnssdSearch {
 public:
  explicit DnssdSearch(DnssdEvents events) : events_(std::move(events)) {
    const DnssdModule& module = dnssdModule();
    calls_ = {&DnssdSearch::found, &DnssdSearch::finished, this};
    if (module.start != nullptr) {
      search_ = module.start(&calls_, kDnssdSearchSeconds);
    } else {
      // Said from the main loop, as the module says its outcomes.
      idle_ = g_idle_add(&DnssdSearch::noModule, this);
    }
  }
  ~DnssdSearch() {
    if (search_ != nullptr) dnssdModule().stop(search_);
    if (idle_ != 0) g_source_remove(idle_);
  }

 private:
  static void found(void* self, const char* name, const char* type, const char* hostName,
                    const char* address, const char* const* records, const std::size_t* sizes,
                    std::size_t count) {
    noteFindCallback();
    std::vector<std::string> textRecords;
    for (std::size_t i = 0; i < count; ++i) textRecords.emplace_back(records[i], sizes[i]);
    const bool lpd = std::string(type) == "_printer._tcp";
    static_cast<DnssdSearch*>(self)->events_.printerFound(
        {name, hostName, address, lpd,
         lpd ? announcedQueue(textRecords).value_or("") : ippQueueHint(textRecords)});
  }
  static void finished(void* self, int outcome) {
    noteFindCallback();
    static_cast<DnssdSearch*>(self)->events_.finished(static_cast<DnssdOutcome>(outcome));
  }
  static gboolean noModule(gpointer self) {
    noteFindCallback();
    auto* search = static_cast<DnssdSearch*>(self);
    search->idle_ = 0;
    search->events_.finished(DnssdOutcome::kNoModule);
    return FALSE;
  }

  DnssdEvents events_;
  SpmDnssdCalls calls_{};
  void* search_ = nullptr;
  guint idle_ = 0;
};

DnssdSearch* startDnssdSearch(DnssdEvents events) {
  return new DnssdSearch(std::move(events));
}

void stopDnssdSearch(DnssdSearch* search) {
  delete search;
}

std::string dnssdModuleError() {
  return dnssdModule().error;
}
