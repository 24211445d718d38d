#include "DecodeAndReencode.h"
#include "model/HostSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  return decodeAndReencode<tessel::HostSettings>(data, size);
}
