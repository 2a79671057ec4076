#include "vcl/FileFilter.h"

#include <vector>

namespace vcl {
namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::string ChooserPattern(const std::string& patterns) {
  std::vector<std::string> kept;
  for (const std::string& pattern : Split(patterns, ';'))
    if (!Trim(pattern).empty()) kept.push_back(Trim(pattern));
  if (kept.size() == 1) return kept[0];
  std::string joined;
  for (const std::string& pattern : kept) joined += (joined.empty() ? "" : ",") + pattern;
  return joined.empty() ? joined : "{" + joined + "}";
}

}  // namespace

std::string ChooserFilter(const String& filter) {
  const std::vector<std::string> parts = Split(filter.ToUtf8(), '|');
  std::string result;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    const std::string pattern = ChooserPattern(parts[i + 1]);
    if (pattern.empty()) continue;
    if (!result.empty()) result += '\n';
    result += Trim(parts[i]) + '\t' + pattern;
  }
  return result;
}

}  // namespace vcl
