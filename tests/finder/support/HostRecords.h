// What a command leaves for the host: the requests stored in a container, and the arguments
// the stand-in host recorded, one line per start.
#pragma once

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "path/PathText.h"
#include "platform/Platform.h"
#include "records/RecordCoding.h"

namespace tessel::testing {

// The requests stored in `container`, in no particular order.
inline std::vector<MoveRequest> storedRequests(const std::string& container, Platform& platform) {
  const std::string requests = joinPath(container, "Requests");
  std::vector<MoveRequest> stored;
  if (!platform.fileExists(requests)) return stored;
  for (const DirectoryEntry& entry : platform.contentsOfDirectory(requests))
    stored.push_back(decodeJson<MoveRequest>(platform.readFile(joinPath(requests, entry.name))));
  return stored;
}

// The complete lines of `record`: a start still writing its line is not counted yet.
inline std::vector<std::string> recordedLines(const std::string& record) {
  std::ifstream in(record);
  const std::string text{std::istreambuf_iterator<char>(in), {}};
  std::vector<std::string> lines;
  for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
       start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

}  // namespace tessel::testing
