// What the file-manager extension and `tessel-finder` ask the host to do, as one typed value.
// On its way it is stored as a MoveRequest, whose form peers and stored files rely on: a move
// has no operation, the other requests name theirs.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/Platform.h"
#include "records/Records.h"

namespace tessel {

struct HostRequest {
  struct Move {  // move `sources` into `destination`
    std::vector<std::string> sources;
    std::string destination;
    bool hierarchical = false;  // chosen from the folder hierarchy; passed through as stored
    friend bool operator==(const Move&, const Move&) = default;
  };
  struct OpenFolder {  // show `folder` in the file manager
    std::string folder;
    friend bool operator==(const OpenFolder&, const OpenFolder&) = default;
  };
  struct Undo {  // undo the last move
    friend bool operator==(const Undo&, const Undo&) = default;
  };
  struct Choose {  // let the user pick the folder `sources` move into, in the host's window
    std::vector<std::string> sources;
    friend bool operator==(const Choose&, const Choose&) = default;
  };

  std::variant<Move, OpenFolder, Undo, Choose> value;
  friend bool operator==(const HostRequest&, const HostRequest&) = default;
};

// The stored form of `request`, under a new identifier, created now.
MoveRequest storedRequest(const HostRequest& request, Platform& platform);

// What a stored request asks; none when it names an operation this version does not know (a
// host that predates "choose" refuses it as unknown, so the stored form stays compatible).
std::optional<HostRequest> hostRequest(const MoveRequest& stored);

}  // namespace tessel
