// Any script must parse; any five values (split at NUL bytes) must read back as written.
#include <tuple>

#include "store/samba.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  parseSambaScript(text);
  SambaSettings s{{}, {}, {}, {}, {}, size % 2 == 1};
  std::string* fields[] = {&s.server, &s.printer, &s.user, &s.password, &s.workgroup};
  std::size_t field = 0;
  for (char c : text) {
    if (c == '\0' && ++field == 5) break;
    if (c != '\0' && c != '\n') *fields[field] += c;  // a value cannot span script lines
  }
  const SambaScriptValues v = parseSambaScript(formatSambaScript(s));
  if (std::tie(v.server, v.printer, v.user, v.password, v.workgroup, v.translateYes) !=
      std::tie(s.server, s.printer, s.user, s.password, s.workgroup, s.translate))
    __builtin_trap();
  return 0;
}
