// The queue actions of the Jobs page as lpc command lines, and how lpc's reply is judged.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>

// Where lpc's reply is written.
extern const char* const kLpcReplyPath;

// "lpc VERB NAME ARGS... > /tmp/lpcreply 2>&1": the printer name and every argument quoted.
std::string lpcCommand(const char* verb, const std::string& printerName,
                       std::initializer_list<std::string> args = {});

// lpc ends a done action with "PRINTER@HOST: stopped" (started, enabled, disabled, updated,
// move done, redirected). Nothing when the reply has such a line; otherwise lpc's own text, as
// it wrote it (empty when it wrote nothing).
std::optional<std::string> lpcRefusal(const std::string& reply);
