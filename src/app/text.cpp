#include "app/text.h"

#include <cctype>

const char* const kInvalidPrinterNameChars = " ~!@#$%^&*()+`=:\";',./<>?[]\\{}|";

namespace {

// The first byte of a delimiter argument; an empty one acts as NUL, which never matches.
char firstByte(const std::string& delimiter) {
  return delimiter.empty() ? '\0' : delimiter[0];
}

std::string::size_type findDelimiter(const std::string& input, const std::string& delimiter) {
  const char d = firstByte(delimiter);
  return d == '\0' ? std::string::npos : input.find(d);
}

char lowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string getstrafter(const std::string& input, const std::string& delimiter) {
  const auto p = findDelimiter(input, delimiter);
  return p == std::string::npos ? std::string() : input.substr(p + 1);
}

std::string getstrbefore(const std::string& input, const std::string& delimiter) {
  const auto p = findDelimiter(input, delimiter);
  return p == std::string::npos ? input : input.substr(0, p);
}

std::string strtrimR(const std::string& inputstr, const std::string& toRemove) {
  if (toRemove.empty()) return inputstr;
  const auto last = inputstr.find_last_not_of(toRemove);
  return last == std::string::npos ? std::string() : inputstr.substr(0, last + 1);
}

std::string strtrimF(const std::string& inputstr, const std::string& toRemove) {
  if (toRemove.empty()) return inputstr;
  const auto first = inputstr.find_first_not_of(toRemove);
  return first == std::string::npos ? std::string() : inputstr.substr(first);
}

std::string strTolower(const std::string& inputstr) {
  std::string out = inputstr;
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string strmakeup(const std::string& inputstr, const std::string& toRemove, int LOWER) {
  const std::string trimmed = strtrimF(strtrimR(inputstr, toRemove), toRemove);
  return LOWER == 1 ? strTolower(trimmed) : trimmed;
}

int is_invalid(const char* input, const char* invalid_keys) {
  if (input == nullptr || *input == '\0') return 1;
  if (invalid_keys == nullptr) return 0;
  const std::string text(input);
  for (const char* k = invalid_keys; *k != '\0'; ++k) {
    if (text.find(*k) != std::string::npos) return 1;
  }
  return 0;
}

bool equalsIgnoreCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
  }
  return true;
}

bool startsWith(const std::string& text, const std::string& prefix, bool ignoreCase) {
  if (text.size() < prefix.size()) return false;
  return ignoreCase ? equalsIgnoreCase(text.substr(0, prefix.size()), prefix)
                    : text.compare(0, prefix.size(), prefix) == 0;
}

bool FixedBufferCutter::next(std::string_view& piece) {
  if (pos_ >= text_.size()) return false;
  const auto newline = text_.find('\n', pos_);
  std::size_t end = newline == std::string_view::npos ? text_.size() : newline + 1;
  if (end - pos_ > most_) end = pos_ + most_;
  piece = text_.substr(pos_, end - pos_);
  pos_ = end;
  return true;
}

std::vector<std::string> fixedBufferLines(const std::string& text, std::size_t bufferSize) {
  std::vector<std::string> pieces;
  FixedBufferCutter cutter(text, bufferSize);
  for (std::string_view piece; cutter.next(piece);) pieces.emplace_back(piece);
  return pieces;
}

std::vector<std::string> wholeLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto newline = text.find('\n', pos);
    if (newline == std::string::npos) {
      lines.push_back(text.substr(pos));
      break;
    }
    lines.push_back(text.substr(pos, newline - pos));
    pos = newline + 1;
  }
  return lines;
}

bool hasControlOr(const std::string& text, char also) {
  for (unsigned char c : text) {
    if (c == static_cast<unsigned char>(also) || c < 0x20 || c == 0x7f) return true;
  }
  return false;
}
