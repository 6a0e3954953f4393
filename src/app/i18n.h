// Message catalogue access for the text domain "solvo-printer-mgr".
#pragma once

#include <libintl.h>

#define SPM_TEXT_DOMAIN "solvo-printer-mgr"
#define SPM_LOCALE_DIR "/usr/share/locale"

// Marks a text for extraction and translates it.
#define _(text) gettext(text)
// Marks a text for extraction without translating it here.
#define N_(text) (text)
