#include "model/FolderBookmark.h"

#include "json/JsonCoder.h"
#include "path/PathText.h"
#include "platform/PlatformError.h"

namespace tessel {
namespace {

struct BookmarkContent {
  std::string path;
  std::string identity;
};

std::string folderIdentity(const FileAttributes& attributes) {
  if (!attributes.device || !attributes.inode) return {};
  return std::to_string(*attributes.device) + ":" + std::to_string(*attributes.inode);
}

}  // namespace

template <>
struct JsonFields<BookmarkContent> {
  static constexpr auto fields = std::tuple(jsonField("path", &BookmarkContent::path),
                                            jsonField("identity", &BookmarkContent::identity));
};

namespace FolderBookmark {

Bytes create(const std::string& path, Platform& platform) {
  const BookmarkContent content{path, folderIdentity(platform.attributesOfItem(path))};
  return Bytes{encodeJson(content)};
}

Resolution resolve(const Bytes& bookmark, Platform& platform) {
  const auto content = decodeJson<BookmarkContent>(bookmark.data);
  const FileAttributes found = platform.attributesOfItem(content.path);
  const bool sameFolder = found.type == FileType::directory && !content.identity.empty() &&
                          folderIdentity(found) == content.identity;
  return {content.path, !sameFolder};
}

bool startAccessing(const std::string& path, Platform& platform) {
  try {
    if (platform.attributesOfItem(path).type != FileType::directory) return false;
    platform.contentsOfDirectory(path);              // read
    platform.attributesOfItem(joinPath(path, "."));  // enter: needs search permission
    return true;
  } catch (const PlatformError&) {
    return false;
  }
}

}  // namespace FolderBookmark
}  // namespace tessel
