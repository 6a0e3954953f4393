// Any script must parse without a crash; any settings must read back exactly as written.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "store/samba.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  parseSambaScript(text);

  // Split the input at NUL bytes into the five values; a newline cannot live in a script line.
  SambaSettings settings;
  std::string* fields[] = {&settings.server, &settings.printer, &settings.user, &settings.password,
                           &settings.workgroup};
  std::size_t field = 0;
  for (char c : text) {
    if (c == '\0') {
      if (++field == 5) break;
    } else if (c != '\n') {
      *fields[field] += c;
    }
  }
  settings.translate = size % 2 == 1;
  const SambaScriptValues back = parseSambaScript(formatSambaScript(settings));
  if (back.server != settings.server || back.printer != settings.printer ||
      back.user != settings.user || back.password != settings.password ||
      back.workgroup != settings.workgroup || back.translateYes != settings.translate) {
    std::abort();
  }
  return 0;
}
