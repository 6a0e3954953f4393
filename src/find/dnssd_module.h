// The C face of the DNS-SD module, which alone links the Avahi client libraries. The program
// loads it when a search starts, so that a start of the window does not load and bind the
// eleven libraries Avahi brings (libdbus, libsystemd and theirs).
#pragma once

#include <cstddef>

extern "C" {

struct SpmDnssdCalls {
  // One resolved announcement: its name, service type, host name, address and text records
  // (not NUL-terminated: records[i] holds sizes[i] bytes).
  void (*found)(void* data, const char* name, const char* type, const char* hostName,
                const char* address, const char* const* records, const std::size_t* sizes,
                std::size_t count);
  // Once: 0 something found, 1 nothing found, 2 no daemon (the values of DnssdOutcome).
  void (*finished)(void* data, int outcome);
  void* data;
};

// Starts a search that finishes after at most `seconds`; never calls back from within.
using SpmDnssdStart = void* (*)(const SpmDnssdCalls* calls, unsigned seconds);
// Stops a search at once (nothing is called back afterwards) and frees it.
using SpmDnssdStop = void (*)(void* search);
}

// The symbols the module exports under those types.
inline constexpr const char* kSpmDnssdStartSymbol = "spm_dnssd_start";
inline constexpr const char* kSpmDnssdStopSymbol = "spm_dnssd_stop";
