#include "records/Values.h"

#include "platform/Platform.h"

namespace tessel {

Timestamp Timestamp::now(Platform& platform) {
  return fromUnixTime(platform.now());
}

Timestamp Timestamp::now() {
  return now(Platform::standard());
}

}  // namespace tessel
