// Small value types stored in records: points in time and opaque byte strings.
#pragma once

#include <compare>
#include <string>

namespace tessel {

class Platform;

// A point in time as seconds since 2001-01-01 00:00:00 UTC, the reference date of every stored
// timestamp.
struct Timestamp {
  // Seconds from the Unix epoch to the reference date.
  static constexpr double kUnixOffset = 978307200.0;

  double sinceReferenceDate = 0;

  static Timestamp now(Platform& platform);
  static Timestamp fromUnixTime(double seconds) { return {seconds - kUnixOffset}; }
  double unixTime() const { return sinceReferenceDate + kUnixOffset; }

  friend auto operator<=>(const Timestamp&, const Timestamp&) = default;
};

// Opaque bytes (a folder grant's bookmark), stored as Base64.
struct Bytes {
  std::string data;

  friend bool operator==(const Bytes&, const Bytes&) = default;
};

}  // namespace tessel
