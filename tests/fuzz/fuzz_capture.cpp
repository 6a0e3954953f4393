// Any text is a capture or refused; a capture formats back to itself, and any name (without
// NUL) and content survive the round trip. The plan, diff and report of any capture never crash.
#include "store/rollout.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const FleetLayout layout{
      {"/etc/printcap"}, {"/etc/init.d/runlpd"}, {"/etc/rcS.d/S76runlpd"}, "/etc/dorvek/samba"};
  if (const std::optional<HeldFiles> held = parseCapture(text)) {
    const std::optional<HeldFiles> again = parseCapture(formatCapture(*held));
    if (!again || formatCapture(*again) != formatCapture(*held)) __builtin_trap();
    const HeldFiles present{{{"/etc/printcap", 0600, "lp", "lp", text}}, {}};
    const RolloutPlan plan = planRollout(layout, *held, present);
    rolloutReport(plan, rolloutDiff(layout, plan, *held, present));
  }
  const std::string name = "/" + text.substr(0, text.find('\0'));
  const HeldFiles odd{{{name, 0755, name, name, text}}, {{name, name}}};
  const std::optional<HeldFiles> back = parseCapture(formatCapture(odd));
  if (!back || back->files.at(0).content != text || back->links.at(0).target != name)
    __builtin_trap();
  return 0;
}
