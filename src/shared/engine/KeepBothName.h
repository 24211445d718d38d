// Names for keeping both items when a name is taken: "report.pdf" becomes "report (2).pdf".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tessel {

// A name split as the desktop splits off a path extension. The extension is the text after
// the last "." but is empty for "README", "name.", ".bashrc" (the only dot first), names
// beginning with "..", and when that text holds a space or a bidirectional control mark
// ("notes.final draft").
struct NameParts {
  std::string stem;
  std::string extension;  // without its dot
};
NameParts splitPathExtension(std::string_view name);

// The longest name, in bytes, that Linux file systems take.
inline constexpr size_t kMaxNameBytes = 255;

// The keep-both name with number `n` (2 and upwards): "archive.tar (2).gz", "Photos (2)". A
// name that would pass kMaxNameBytes loses the end of its stem, in whole UTF-8 characters, so
// that both items are still kept: the number and the extension stay whole.
std::string numberedName(const NameParts& parts, long long n);

}  // namespace tessel
