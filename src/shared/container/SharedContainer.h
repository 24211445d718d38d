// The folder that the host and the file-manager extension share. They never talk to each other
// directly: the host publishes the menu snapshot here and consumes move requests from here; the
// extension reads the snapshot and enqueues requests. Layout inside the folder:
//
//   menu.json              one MenuSnapshot, replaced as a whole by the host
//   Requests/<ID>.json     one MoveRequest each, <ID> its upper-case identifier
//
// Every operation finds the folder anew, keeps no state and takes no lock: safety between the
// processes comes from atomic replacement and from one file per request, written completely
// before its identifier is handed on. Any thread may call any operation.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Platform.h"
#include "records/Records.h"

namespace tessel::SharedContainer {

inline constexpr std::string_view kDefaultGroup = "group.com.quillmark.Tessel";
inline constexpr std::string_view kSnapshotFileName = "menu.json";
inline constexpr std::string_view kRequestsFolderName = "Requests";
// A request file larger than this is refused unread.
inline constexpr std::uint64_t kMaxRequestBytes = 999'999;
// A request is accepted only while its creation lies less than this many seconds away from
// the consumer's clock, before or after.
inline constexpr double kMaxRequestAge = 300;

// The group identifier: the Info key TesselAppGroup when it holds a string (an empty one
// included), the default otherwise. Read anew on every call.
std::string group(Platform& platform = Platform::standard());

// The container folder for group(): $XDG_DATA_HOME/<group> (XDG_DATA_HOME defaulting to
// ~/.local/share), made with mode 0700 when missing. Throws TesselError with the shared-folder
// message when the identifier cannot name a folder or the folder cannot be made.
std::string url(Platform& platform = Platform::standard());

// Replaces menu.json atomically with `snapshot`.
void publish(const MenuSnapshot& snapshot, Platform& platform = Platform::standard());

// The published snapshot; the empty snapshot when nothing was published yet. Read and decoding
// errors are thrown unchanged.
MenuSnapshot snapshot(Platform& platform = Platform::standard());

// The same from the snapshot file at `path`, for a reader that keeps the container's path.
MenuSnapshot snapshotAt(const std::string& path, Platform& platform = Platform::standard());

// Stores `request` as Requests/<ID>.json, making the Requests folder when missing.
void enqueue(const MoveRequest& request, Platform& platform = Platform::standard());

// Hands out the request stored under `id` and deletes its file. A request that is too large,
// undecodable, stored under another identifier or outside the age window is refused with a
// thrown error and left where it is.
MoveRequest consume(const Uuid& id, Platform& platform = Platform::standard());

// Requests/<ID>.json inside `container`.
std::string requestPath(const std::string& container, const Uuid& id);

}  // namespace tessel::SharedContainer
