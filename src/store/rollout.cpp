#include "store/rollout.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "store/printcap.h"

namespace {

// ---- The capture's text ----

bool isPlainNameByte(unsigned char c) {
  return std::isalnum(c) != 0 || (c != 0 && std::strchr("._/@+=:,-", c) != nullptr);
}

std::string percentEncoded(const std::string& name) {
  std::string out;
  for (const unsigned char c : name) {
    if (isPlainNameByte(c)) {
      out += static_cast<char>(c);
    } else {
      char escape[4];
      std::snprintf(escape, sizeof escape, "%%%02X", c);
      out += escape;
    }
  }
  return out;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<std::string> percentDecoded(const std::string& field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '%') {
      if (!isPlainNameByte(static_cast<unsigned char>(field[i]))) return std::nullopt;
      out += field[i];
      continue;
    }
    if (i + 2 >= field.size()) return std::nullopt;
    const int high = hexValue(field[i + 1]), low = hexValue(field[i + 2]);
    if (high < 0 || low < 0 || high + low == 0) return std::nullopt;  // no NUL in a path
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return out;
}

const char kBase64Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Standard base64 (RFC 4648, padded); "-" for no bytes, so that the field is never empty.
std::string base64(const std::string& bytes) {
  if (bytes.empty()) return "-";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
    unsigned group = 0;
    for (std::size_t k = 0; k < 3; ++k)
      group = group << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
    for (std::size_t k = 0; k < 4; ++k)
      out += k <= n ? kBase64Digits[group >> (18 - 6 * k) & 63] : '=';
  }
  return out;
}

int base64Value(char c) {
  const char* found = c == '\0' ? nullptr : std::strchr(kBase64Digits, c);
  return found ? static_cast<int>(found - kBase64Digits) : -1;
}

// Nothing for anything but padded base64 whose unused bits are zero.
std::optional<std::string> fromBase64(const std::string& text) {
  if (text == "-") return std::string();
  if (text.empty() || text.size() % 4 != 0) return std::nullopt;
  const std::size_t padding = text.compare(text.size() - 2, 2, "==") == 0 ? 2
                              : text.back() == '='                        ? 1
                                                                          : 0;
  std::string out;
  unsigned group = 0;
  for (std::size_t i = 0; i < text.size() - padding; ++i) {
    const int value = base64Value(text[i]);
    if (value < 0) return std::nullopt;
    group = group << 6 | static_cast<unsigned>(value);
    if (i % 4 == 3) {
      for (int shift = 16; shift >= 0; shift -= 8) out += static_cast<char>(group >> shift & 255);
      group = 0;
    }
  }
  if (padding == 2) {
    if (group & 15) return std::nullopt;
    out += static_cast<char>(group >> 4);
  } else if (padding == 1) {
    if (group & 3) return std::nullopt;
    out += static_cast<char>(group >> 10 & 255);
    out += static_cast<char>(group >> 2 & 255);
  }
  return out;
}

std::optional<unsigned> modeFrom(const std::string& text) {
  if (text.empty() || text.size() > 4) return std::nullopt;
  unsigned mode = 0;
  for (const char c : text) {
    if (c < '0' || c > '7') return std::nullopt;
    mode = mode * 8 + static_cast<unsigned>(c - '0');
  }
  return mode;
}

std::string octal(unsigned mode) {
  char text[8];
  std::snprintf(text, sizeof text, "%o", mode);
  return text;
}

std::vector<std::string> fieldsOf(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string field; in >> field;) fields.push_back(field);
  return fields;
}

// "file PATH MODE OWNER GROUP CONTENT" or "link PATH TARGET"; false for anything else.
bool readCaptureLine(const std::vector<std::string>& f, HeldFiles& held) {
  if (f.size() == 6 && f[0] == "file") {
    const auto path = percentDecoded(f[1]), owner = percentDecoded(f[3]),
               group = percentDecoded(f[4]), content = fromBase64(f[5]);
    const auto mode = modeFrom(f[2]);
    if (!path || !mode || !owner || !group || !content) return false;
    held.files.push_back({*path, *mode, *owner, *group, *content});
    return true;
  }
  if (f.size() == 3 && f[0] == "link") {
    const auto path = percentDecoded(f[1]), target = percentDecoded(f[2]);
    if (!path || !target) return false;
    held.links.push_back({*path, *target});
    return true;
  }
  return false;
}

// ---- Comparing ----

bool contains(const std::vector<std::string>& paths, const std::string& path) {
  return std::find(paths.begin(), paths.end(), path) != paths.end();
}

bool isManagedFile(const FleetLayout& layout, const std::string& path) {
  return contains(layout.printerFiles, path) || contains(layout.bootFiles, path) ||
         isSambaScript(layout, path);
}

// ---- Showing differences ----

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = std::min(text.find('\n', pos), text.size());
    lines.push_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  return lines;
}

std::string hunkRange(std::size_t from, std::size_t count) {
  return std::to_string(count == 0 ? from : from + 1) + "," + std::to_string(count);
}

// One hunk from the first to the last differing line, with up to three lines around it.
void appendUnifiedDiff(std::vector<std::string>& out, const std::string& path,
                       const HeldFile* before, const HeldFile& after) {
  const std::vector<std::string> a = linesOf(before ? before->content : ""),
                                 b = linesOf(after.content);
  std::size_t same = 0;
  while (same < a.size() && same < b.size() && a[same] == b[same]) ++same;
  std::size_t tail = 0;
  while (tail < a.size() - same && tail < b.size() - same &&
         a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
    ++tail;
  constexpr std::size_t kContext = 3;
  const std::size_t from = same > kContext ? same - kContext : 0;
  const std::size_t aEnd = std::min(a.size(), a.size() - tail + kContext);
  const std::size_t bEnd = std::min(b.size(), b.size() - tail + kContext);
  out.push_back("--- " + (before ? path + " (client)" : std::string("/dev/null")));
  out.push_back("+++ " + path + " (capture)");
  out.push_back("@@ -" + hunkRange(from, aEnd - from) + " +" + hunkRange(from, bEnd - from) +
                " @@");
  for (std::size_t i = from; i < same; ++i) out.push_back(" " + a[i]);
  for (std::size_t i = same; i < a.size() - tail; ++i) out.push_back("-" + a[i]);
  for (std::size_t i = same; i < b.size() - tail; ++i) out.push_back("+" + b[i]);
  for (std::size_t i = a.size() - tail; i < aEnd; ++i) out.push_back(" " + a[i]);
}

std::string queueEmptied(const EmptiedQueue& queue) {
  return queue.printer + ": " + std::to_string(queue.jobs) + (queue.jobs == 1 ? " job" : " jobs");
}

std::string modeAndOwners(const HeldFile& file) {
  return octal(file.mode) + " " + file.owner + ":" + file.group;
}

// ---- The report ----

// Length of the valid UTF-8 sequence at text[i], or 0.
std::size_t utf8SequenceAt(const std::string& text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  const std::size_t length = lead >= 0xF0 && lead <= 0xF4   ? 4
                             : lead >= 0xE0                 ? 3
                             : lead >= 0xC2 && lead <= 0xDF ? 2
                                                            : 0;
  if (length == 0 || lead > 0xF4 || i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k)
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
  const unsigned second = byte(i + 1);
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
      (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F))
    return 0;
  return length;
}

// A JSON string; bytes that are not UTF-8 become U+FFFD.
std::string jsonString(const std::string& text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out += escape;
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (const std::size_t length = utf8SequenceAt(text, i)) {
      out.append(text, i, length);
      i += length - 1;
    } else {
      out += "\\ufffd";
    }
  }
  return out + "\"";
}

std::string jsonList(const std::vector<std::string>& items) {
  std::string out = "[";
  for (const std::string& item : items) out += (out.size() > 1 ? "," : "") + jsonString(item);
  return out + "]";
}

}  // namespace

std::string formatCapture(const HeldFiles& held) {
  std::string out =
      "# solvo-printer-mgr fleet capture: file PATH MODE OWNER GROUP BASE64, "
      "link PATH TARGET\n";
  for (const HeldFile& f : held.files) {
    out += "file " + percentEncoded(f.path) + " " + octal(f.mode) + " " + percentEncoded(f.owner) +
           " " + percentEncoded(f.group) + " " + base64(f.content) + "\n";
  }
  for (const HeldLink& l : held.links)
    out += "link " + percentEncoded(l.path) + " " + percentEncoded(l.target) + "\n";
  return out;
}

std::optional<HeldFiles> parseCapture(const std::string& text) {
  HeldFiles held;
  for (const std::string& line : linesOf(text)) {
    const std::vector<std::string> fields = fieldsOf(line);
    if (fields.empty() || fields[0][0] == '#') continue;
    if (!readCaptureLine(fields, held)) return std::nullopt;
  }
  return held;
}

bool isSambaScript(const FleetLayout& layout, const std::string& path) {
  const std::string& folder = layout.sambaFolder;
  if (path.size() <= folder.size() + 4 || path.compare(0, folder.size(), folder) != 0 ||
      path[folder.size()] != '/')
    return false;
  const std::string name = path.substr(folder.size() + 1);
  return name.find('/') == std::string::npos && name.compare(name.size() - 3, 3, ".sh") == 0;
}

std::string unmanagedPath(const FleetLayout& layout, const HeldFiles& wanted) {
  for (const HeldFile& f : wanted.files)
    if (!isManagedFile(layout, f.path)) return f.path;
  for (const HeldLink& l : wanted.links)
    if (!contains(layout.links, l.path)) return l.path;
  return "";
}

bool restartsSpooler(const FleetLayout& layout, const Change& change) {
  return change.kind != Change::kOwnership &&
         (contains(layout.printerFiles, change.path) || isSambaScript(layout, change.path));
}

std::vector<std::string> printersRemoved(const HeldFiles& wanted, const HeldFiles& present) {
  const auto names = [](const HeldFiles& held) {
    std::vector<std::string> found;
    if (const HeldFile* printcap = findByPath(held.files, kPrintcapPath)) {
      for (const PrinterRow& row : parsePrintcap(printcap->content).rows)
        found.push_back(row[kColName]);
    }
    return found;
  };
  const std::vector<std::string> kept = names(wanted);
  std::vector<std::string> removed;
  for (const std::string& name : names(present)) {
    if (!contains(kept, name)) removed.push_back(name);
  }
  return removed;
}

RolloutPlan planRollout(const FleetLayout& layout, const HeldFiles& wanted,
                        const HeldFiles& present) {
  RolloutPlan plan;
  for (const HeldFile& file : wanted.files) {
    const HeldFile* held = findByPath(present.files, file.path);
    if (!held || held->content != file.content) {
      plan.changes.push_back({Change::kWrite, file.path});
    } else if (modeAndOwners(*held) != modeAndOwners(file)) {
      plan.changes.push_back({Change::kOwnership, file.path});
    }
  }
  for (const HeldFile& held : present.files) {
    if (isManagedFile(layout, held.path) && !findByPath(wanted.files, held.path))
      plan.changes.push_back({Change::kRemove, held.path});
  }
  for (const std::string& path : layout.links) {
    const HeldLink* want = findByPath(wanted.links, path);
    const HeldLink* held = findByPath(present.links, path);
    if (want && (!held || held->target != want->target)) {
      plan.changes.push_back({Change::kLink, path});
    } else if (!want && held) {
      plan.changes.push_back({Change::kRemove, path});
    }
  }
  for (const Change& change : plan.changes)
    plan.restartSpooler = plan.restartSpooler || restartsSpooler(layout, change);
  return plan;
}

std::vector<std::string> rolloutDiff(const FleetLayout& layout, const RolloutPlan& plan,
                                     const HeldFiles& wanted, const HeldFiles& present) {
  std::vector<std::string> out;
  for (const Change& change : plan.changes) {
    const HeldFile* want = findByPath(wanted.files, change.path);
    const HeldFile* held = findByPath(present.files, change.path);
    const std::string& path = change.path;
    if (change.kind == Change::kRemove) {
      out.push_back(path + ": removed");
    } else if (change.kind == Change::kLink) {
      out.push_back(path + ": link to " + findByPath(wanted.links, path)->target);
    } else if (change.kind == Change::kOwnership) {
      out.push_back(path + ": " + modeAndOwners(*held) + " becomes " + modeAndOwners(*want));
    } else if (isSambaScript(layout, path)) {
      out.push_back(path + ": written as captured (not shown: it holds a password)");
    } else {
      appendUnifiedDiff(out, path, held, *want);
    }
  }
  for (const EmptiedQueue& queue : plan.emptied)
    out.push_back("queue of printer " + queueEmptied(queue) + " removed, and its spool folder");
  return out;
}

std::string rolloutReport(const RolloutPlan& plan,
                          const std::optional<std::vector<std::string>>& diff) {
  std::vector<std::string> written, removed, emptied;
  for (const Change& change : plan.changes)
    (change.kind == Change::kRemove ? removed : written).push_back(change.path);
  for (const EmptiedQueue& queue : plan.emptied) emptied.push_back(queueEmptied(queue));
  std::string out = std::string("{\"changed\":") +
                    (plan.changes.empty() && plan.emptied.empty() ? "false" : "true") +
                    ",\"written\":" + jsonList(written) + ",\"removed\":" + jsonList(removed) +
                    ",\"restart\":" + (plan.restartSpooler ? "true" : "false") +
                    ",\"emptied\":" + jsonList(emptied);
  if (diff) out += ",\"diff\":" + jsonList(*diff);
  return out + "}\n";
}
