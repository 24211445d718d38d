// A fixture for engine tests: a source root and a destination folder in a fresh temporary
// folder, a journal in a support folder that does not exist yet, and an engine working on a
// fault-injecting platform. Messages are English unless a test switches the language.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "ErrorText.h"
#include "FaultInjectingPlatform.h"
#include "ScopedLanguage.h"
#include "TempFolder.h"
#include "engine/ItemIdentity.h"
#include "engine/MoveEngine.h"
#include "path/PathText.h"

namespace tessel::testing {

using ::testing::HasSubstr;

// Every item under `root`: relative path to kind, inode and content (or link target), so two
// pictures are equal only when nothing was lost, renamed, replaced or rewritten.
inline std::map<std::string, std::string> treePicture(const std::string& root) {
  std::map<std::string, std::string> out;
  for (const auto& item : std::filesystem::recursive_directory_iterator(root)) {
    const std::string full = item.path().string();
    out[full.substr(root.size() + 1)] =
        std::to_string(Platform::standard().attributesOfItem(full).inode.value_or(0)) +
        (item.is_symlink()     ? " link " + std::filesystem::read_symlink(item).string()
         : item.is_directory() ? " folder"
                               : " file " + Platform::standard().readFile(full));
  }
  return out;
}

class EngineTest : public ::testing::Test {
 protected:
  ScopedLanguage english{"en"};
  TempFolder temp;
  FaultInjectingPlatform platform;
  const std::string sources = temp.folder("Sources");
  const std::string destination = temp.folder("Archive");
  const std::string journalPath = temp.at("Support/Tessel/undo.json");
  MoveEngine engine{journalPath, platform};

  MoveResult move(const std::vector<std::string>& items,
                  ConflictPolicy policy = ConflictPolicy::keepBoth) {
    return engine.move(items, destination, {sources}, {destination}, policy);
  }
  std::int64_t undo() { return engine.undo({sources}, {destination}); }
  // `count` files "f1" to "f<count>" in the source root, their paths in order.
  std::vector<std::string> files(int count) {
    std::vector<std::string> paths;
    for (int i = 1; i <= count; ++i) {
      paths.push_back(temp.file("Sources/f" + std::to_string(i), "content " + std::to_string(i)));
    }
    return paths;
  }
  std::vector<MoveEntry> storedEntries() { return engine.journal().value().entries; }
  // treePicture() of the temporary folder without the journal's folder.
  std::map<std::string, std::string> items() {
    std::map<std::string, std::string> picture = treePicture(temp.path());
    std::erase_if(picture, [](const auto& item) { return item.first.starts_with("Support"); });
    return picture;
  }
  // Whether `engine` holds nothing to undo.
  static bool nothingToUndo(MoveEngine& engine) {
    return engine.journal().value_or(MoveJournal{}).entries.empty();
  }
};

}  // namespace tessel::testing
