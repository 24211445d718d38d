#include "records/Values.h"

#include "platform/Platform.h"

namespace tessel {

Timestamp Timestamp::now(Platform& platform) {
  return fromUnixTime(platform.now());
}

}  // namespace tessel
