// Shared body of the decoder fuzz targets: whatever decodes must write back to bytes that
// decode to the same record, and nothing may crash or trip a sanitizer.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/Errors.h"
#include "records/RecordCoding.h"

template <class Record>
int decodeAndReencode(const std::uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Record record;
  try {
    record = tessel::decodeJson<Record>(bytes);
  } catch (const tessel::DecodingError&) {
    return 0;
  }
  // Decoded text is valid UTF-8, so encoding cannot fail; and it must round-trip.
  const std::string written = tessel::encodeJson(record);
  if (!(tessel::decodeJson<Record>(written) == record)) std::abort();
  return 0;
}
