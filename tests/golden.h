// Expected bytes kept as plain files under tests/data/ (whole or by lines), and files read whole.
#pragma once

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

using Lines = std::vector<std::string>;

inline std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
inline const auto golden = [](const std::string& name) {
  return fileText(SPM_TEST_DATA "/" + name);
};
inline const auto goldenLines = [](const std::string& name) {
  Lines lines;
  std::istringstream in(golden(name));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
};
