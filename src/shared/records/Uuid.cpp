#include "records/Uuid.h"

#include <uuid/uuid.h>

namespace tessel {

Uuid Uuid::random() {
  // Drawn from the kernel's entropy: identifiers must not repeat across processes.
  Uuid id;
  uuid_generate_random(id.bytes_.data());
  return id;
}

std::optional<Uuid> Uuid::parse(std::string_view text) {
  Uuid id;
  if (uuid_parse_range(text.data(), text.data() + text.size(), id.bytes_.data()) != 0) {
    return std::nullopt;
  }
  return id;
}

std::string Uuid::string() const {
  char text[37];
  uuid_unparse_upper(bytes_.data(), text);
  return text;
}

}  // namespace tessel
