#include "container/SharedContainer.h"

#include <cmath>

#include "core/DisplayPath.h"
#include "core/Errors.h"
#include "core/Localization.h"
#include "path/PathSafety.h"
#include "path/PathText.h"
#include "platform/PlatformError.h"
#include "records/RecordCoding.h"

namespace tessel::SharedContainer {
namespace {

TesselError tooLarge() {
  return TesselError::invalid(localizedText("依頼が大きすぎます。", "The request is too large."));
}

TesselError expired() {
  return TesselError::invalid(
      localizedText("移動依頼の期限が切れています。", "The move request has expired."));
}

// A request stored under another request's name was not written by the extension; carrying it
// out could repeat a move or act on paths nobody chose.
TesselError misnamed() {
  return TesselError::invalid(localizedText(
      "移動依頼の内容がファイル名と一致しないため、実行しませんでした。",
      "The move request does not match the name it is stored under, so it was not carried out."));
}

TesselError notAFile(const std::string& path) {
  return TesselError::invalid(
      formatText(localizedText("「%@」はファイルではないため読み込めません。",
                               "\"%@\" cannot be read because it is not a file."),
                 {displayPath(path)}));
}

// The attributes of the item that `path` leads to, none when it leads nowhere (the read that
// follows then reports the absence in its own words). Anything but a file or a folder is
// refused unread: a pipe or a device could block the reader or never end.
std::optional<FileAttributes> attributesBeforeReading(const std::string& path, Platform& platform) {
  FileAttributes attributes;
  try {
    attributes = platform.attributesOfItem(path);
    // Links are resolved only when there is one: the extension reads on every right-click.
    if (attributes.type == FileType::symbolicLink) {
      attributes = platform.attributesOfItem(PathSafety::canonical(path, platform));
    }
  } catch (const PlatformError&) {
    return std::nullopt;
  }
  if (attributes.type == FileType::other) throw notAFile(path);
  return attributes;
}

bool isFresh(const MoveRequest& request, Platform& platform) {
  const double age =
      request.created.sinceReferenceDate - Timestamp::now(platform).sinceReferenceDate;
  return std::fabs(age) < kMaxRequestAge;
}

}  // namespace

std::string requestPath(const std::string& container, const Uuid& id) {
  return joinPath(joinPath(container, kRequestsFolderName), id.string() + ".json");
}

void publish(const MenuSnapshot& snapshot, Platform& platform) {
  const std::string bytes = encodeJson(snapshot);
  const std::string container = url(platform);
  platform.writeFileAtomically(joinPath(container, kSnapshotFileName), bytes, Durability::atomic);
}

MenuSnapshot snapshot(Platform& platform) {
  return snapshotAt(joinPath(url(platform), kSnapshotFileName), platform);
}

MenuSnapshot snapshotAt(const std::string& path, Platform& platform) {
  if (!platform.fileExists(path)) return MenuSnapshot{};
  attributesBeforeReading(path, platform);
  return decodeJson<MenuSnapshot>(platform.readFile(path));
}

void enqueue(const MoveRequest& request, Platform& platform) {
  const std::string container = url(platform);
  platform.createDirectories(joinPath(container, kRequestsFolderName));
  const std::string bytes = encodeJson(request);
  platform.writeFileAtomically(requestPath(container, request.id), bytes, Durability::atomic);
}

MoveRequest consume(const Uuid& id, Platform& platform) {
  const std::string path = requestPath(url(platform), id);
  // Refused from its size alone when it is plainly too large, before it fills the memory.
  const std::optional<FileAttributes> attributes = attributesBeforeReading(path, platform);
  if (attributes && attributes->type == FileType::regular && attributes->size > kMaxRequestBytes) {
    throw tooLarge();
  }
  const std::string bytes = platform.readFile(path);
  // The file may have grown since it was measured.
  if (bytes.size() > kMaxRequestBytes) throw tooLarge();
  MoveRequest request = decodeJson<MoveRequest>(bytes);
  if (request.id != id) throw misnamed();
  if (!isFresh(request, platform)) throw expired();
  platform.removeItem(path);
  return request;
}

}  // namespace tessel::SharedContainer
