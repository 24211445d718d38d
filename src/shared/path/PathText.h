// Lexical path arithmetic on byte strings. Nothing here touches the file system.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessel {

// Components of a path, without empty ones ("/a//b/" gives "a", "b").
std::vector<std::string> pathComponents(std::string_view path);

// An absolute path with empty and "." components removed and ".." resolved against the
// component before it ("/.." is "/"). A relative path is standardised the same way, keeping
// leading ".." components it cannot resolve. Never ends in "/" unless it is "/".
std::string standardizedPath(std::string_view path);

// "/a/b" for "/a/b/c"; "/" for "/a" and for "/"; "." for a bare name.
std::string parentPath(std::string_view path);

// "c" for "/a/b/c" and "/a/b/c/"; "/" for "/".
std::string lastComponent(std::string_view path);

// Joins with exactly one "/" between the two parts.
std::string joinPath(std::string_view folder, std::string_view name);

}  // namespace tessel
