#include "path/PathText.h"

#include <algorithm>

namespace tessel {

std::vector<std::string> pathComponents(std::string_view path) {
  std::vector<std::string> components;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) components.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return components;
}

namespace {

// Whether standardizedPath() would give `path` back unchanged: no empty, "." or ".." component
// and no trailing "/". Most paths handed in are, and need no rebuilding.
bool isStandardized(std::string_view path) {
  if (path == "/") return true;
  if (path.empty() || path.back() == '/') return false;
  for (size_t start = path.front() == '/' ? 1 : 0; start <= path.size();) {
    const size_t end = std::min(path.find('/', start), path.size());
    const std::string_view component = path.substr(start, end - start);
    if (component.empty() || component == "." || component == "..") return false;
    start = end + 1;
  }
  return true;
}

}  // namespace

std::string standardizedPath(std::string_view path) {
  if (isStandardized(path)) return std::string(path);
  const bool absolute = !path.empty() && path.front() == '/';
  std::vector<std::string> kept;
  for (std::string& component : pathComponents(path)) {
    if (component == ".") continue;
    if (component == "..") {
      if (!kept.empty() && kept.back() != "..") {
        kept.pop_back();
      } else if (!absolute) {
        kept.push_back(std::move(component));
      }
      continue;
    }
    kept.push_back(std::move(component));
  }
  std::string result = absolute ? "/" : "";
  for (size_t i = 0; i < kept.size(); ++i) {
    if (i > 0) result += '/';
    result += kept[i];
  }
  if (result.empty()) result.assign(1, '.');
  return result;
}

std::string parentPath(std::string_view path) {
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  const size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return ".";
  if (slash == 0) return "/";
  return std::string(path.substr(0, slash));
}

std::string lastComponent(std::string_view path) {
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  if (path == "/") return "/";
  const size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string joinPath(std::string_view folder, std::string_view name) {
  std::string result(folder);
  if (result.empty() || result.back() != '/') result += '/';
  while (!name.empty() && name.front() == '/') name.remove_prefix(1);
  result += name;
  return result;
}

}  // namespace tessel
