// A libFuzzer target for one decoder of stored input, the record named by TESSEL_FUZZ_RECORD:
// whatever decodes must write back to bytes that decode to the same record, and nothing may
// crash or trip a sanitizer.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/Errors.h"
#include "model/HostSettings.h"
#include "records/MoveJournal.h"
#include "records/RecordCoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using Record = tessel::TESSEL_FUZZ_RECORD;
  Record record;
  try {
    record =
        tessel::decodeJson<Record>(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const tessel::DecodingError&) {
    return 0;
  }
  // Decoded text is valid UTF-8, so encoding cannot fail; and it must round-trip.
  if (!(tessel::decodeJson<Record>(tessel::encodeJson(record)) == record)) std::abort();
  return 0;
}
