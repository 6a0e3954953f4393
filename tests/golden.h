// Expected bytes kept as plain files under tests/data/, and files read whole or by lines.
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
inline Lines fileLines(const std::string& path) {
  Lines lines;
  std::istringstream in(fileText(path));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}
inline const auto golden = [](const std::string& name) {
  return fileText(SPM_TEST_DATA "/" + name);
};
inline const auto goldenLines = [](const std::string& name) {
  return fileLines(SPM_TEST_DATA "/" + name);
};
