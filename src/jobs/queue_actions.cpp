#include "jobs/queue_actions.h"

#include "app/shell.h"
#include "app/text.h"

const char* const kLpcReplyPath = "/tmp/lpcreply";

std::string lpcCommand(const char* verb, const std::string& printerName,
                       std::initializer_list<std::string> args) {
  std::string line = std::string("lpc ") + verb + " " + shellQuote(printerName);
  for (const std::string& arg : args) line += " " + shellQuote(arg);
  // lpc writes some refusals (no spooler to talk to) on standard error.
  return line + " > " + kLpcReplyPath + " 2>&1";
}

std::optional<std::string> lpcRefusal(const std::string& reply) {
  const char* const done[] = {": stopped", ": started",   ": enabled",   ": disabled",
                              ": updated", ": move done", ": redirected"};
  for (const std::string& line : wholeLines(reply)) {
    const std::string_view text = line;
    for (const std::string_view word : done) {
      if (text.size() > word.size() && text.substr(text.size() - word.size()) == word) {
        return std::nullopt;
      }
    }
  }
  return strtrimR(reply, " \n");
}
