// The wake-up URL the file-manager extension sends: "tessel://move/" and a request identifier.
#pragma once

#include <optional>
#include <string_view>

#include "records/Uuid.h"

namespace tessel {

// The request identifier when the scheme is exactly "tessel", the host exactly "move" and the
// path exactly "/" followed by a UUID (either case); none for anything else. Query and
// fragment are not looked at. Scheme and host are compared case-sensitively, which is why
// this does not go through QUrl: QUrl lower-cases both.
std::optional<Uuid> wakeUpRequestId(std::string_view url);

}  // namespace tessel
