#include "EngineTest.h"

#include "path/PathText.h"

namespace tessel::testing {

std::vector<std::string> EngineTest::files(int count) {
  std::vector<std::string> paths;
  for (int i = 1; i <= count; ++i) {
    paths.push_back(temp.file("Sources/f" + std::to_string(i), "content " + std::to_string(i)));
  }
  return paths;
}

std::map<std::string, std::string> EngineTest::items() {
  std::map<std::string, std::string> picture = treePicture(temp.path());
  std::erase_if(picture, [](const auto& item) { return item.first.starts_with("Support"); });
  return picture;
}

namespace {

void picture(Platform& platform, const std::string& root, const std::string& relative,
             std::map<std::string, std::string>& out) {
  for (const DirectoryEntry& entry : platform.contentsOfDirectory(joinPath(root, relative))) {
    const std::string path = relative.empty() ? entry.name : joinPath(relative, entry.name);
    const std::string full = joinPath(root, path);
    std::string& description = out[path];
    description = std::to_string(platform.attributesOfItem(full).inode.value_or(0)) + " ";
    if (entry.type == FileType::directory) {
      description += "folder";
      picture(platform, root, path, out);
    } else if (entry.type == FileType::symbolicLink) {
      description += "link " + platform.readSymbolicLink(full).value_or("");
    } else {
      description += "file " + platform.readFile(full);
    }
  }
}

}  // namespace

std::map<std::string, std::string> treePicture(const std::string& root) {
  std::map<std::string, std::string> out;
  picture(Platform::standard(), root, "", out);
  return out;
}

}  // namespace tessel::testing
