// Byte-wise string helpers used by the file readers and the editor windows.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Text after the first occurrence of delimiter[0]; empty when it does not occur.
std::string getstrafter(const std::string& input, const std::string& delimiter);
// Text before the first occurrence of delimiter[0]; the whole input when it does not occur.
std::string getstrbefore(const std::string& input, const std::string& delimiter);
// The input without trailing (R) or leading (F) bytes that belong to toRemove.
std::string strtrimR(const std::string& inputstr, const std::string& toRemove);
std::string strtrimF(const std::string& inputstr, const std::string& toRemove);
// Each byte lower-cased with the C library's tolower in the current locale.
std::string strTolower(const std::string& inputstr);
// Trimmed at both ends; lower-cased only when LOWER is exactly 1.
std::string strmakeup(const std::string& inputstr, const std::string& toRemove, int LOWER);
// 1 when input is null, empty or holds any byte of invalid_keys; otherwise 0.
int is_invalid(const char* input, const char* invalid_keys);

// Whether text holds `also` or a control byte (below 0x20, or 0x7f).
bool hasControlOr(const std::string& text, char also);

// Bytes refused in a printer name typed into the printer editor.
extern const char* const kInvalidPrinterNameChars;

// Case-insensitive (ASCII) equality, as the type words and "None" are compared.
bool equalsIgnoreCase(const std::string& a, const std::string& b);
// True when text begins with prefix; ignoreCase compares ASCII letters without case.
bool startsWith(const std::string& text, const std::string& prefix, bool ignoreCase = false);

// Cuts text the way repeated fgets() with a buffer of bufferSize bytes would: pieces of at
// most bufferSize-1 bytes, each ending after a newline or at the buffer's limit, line ends kept.
std::vector<std::string> fixedBufferLines(const std::string& text, std::size_t bufferSize);
// The same cut, one piece at a time and without copies; pieces view into text.
class FixedBufferCutter {
 public:
  FixedBufferCutter(std::string_view text, std::size_t bufferSize)
      : text_(text), most_(bufferSize > 1 ? bufferSize - 1 : 1) {}
  // The next piece; false at the end of the text.
  bool next(std::string_view& piece);

 private:
  std::string_view text_;
  std::size_t most_;
  std::size_t pos_ = 0;
};
// Whole lines without their line feed; a last line without one counts too.
std::vector<std::string> wholeLines(const std::string& text);
