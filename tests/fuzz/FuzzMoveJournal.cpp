#include "DecodeAndReencode.h"
#include "records/MoveJournal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  return decodeAndReencode<tessel::MoveJournal>(data, size);
}
