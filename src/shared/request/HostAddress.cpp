#include "request/HostAddress.h"

#include <algorithm>

namespace tessel::HostAddress {

std::string wakeUpUrl(const Uuid& requestId) {
  return "tessel://move/" + requestId.string();
}

std::optional<Uuid> wakeUpRequestId(std::string_view url) {
  constexpr std::string_view kPrefix = "tessel://";
  if (!url.starts_with(kPrefix)) return std::nullopt;
  std::string_view rest = url.substr(kPrefix.size());
  rest = rest.substr(0, std::min(rest.find_first_of("?#"), rest.size()));
  const size_t pathStart = std::min(rest.find('/'), rest.size());
  std::string_view host = rest.substr(0, pathStart);
  // An authority may carry user information before the host and a port after it.
  if (const size_t at = host.rfind('@'); at != std::string_view::npos) host.remove_prefix(at + 1);
  if (const size_t colon = host.rfind(':');
      colon != std::string_view::npos && std::all_of(host.begin() + colon + 1, host.end(),
                                                     [](char c) { return c >= '0' && c <= '9'; })) {
    host = host.substr(0, colon);
  }
  if (host != "move" || pathStart == rest.size()) return std::nullopt;
  return Uuid::parse(rest.substr(pathStart + 1));
}

}  // namespace tessel::HostAddress
