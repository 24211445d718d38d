// A fixture for engine tests: a source root and a destination folder in a fresh temporary
// folder, a journal in a support folder that does not exist yet, and an engine working on a
// fault-injecting platform. Messages are English unless a test switches the language.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "ErrorText.h"
#include "FaultInjectingPlatform.h"
#include "ScopedLanguage.h"
#include "TempFolder.h"
#include "engine/ItemIdentity.h"
#include "engine/MoveEngine.h"

namespace tessel::testing {

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
  std::vector<std::string> files(int count);
  std::vector<MoveEntry> storedEntries() { return engine.journal().value().entries; }
  // treePicture() of the temporary folder without the journal's folder.
  std::map<std::string, std::string> items();
  // Whether `engine` holds nothing to undo.
  static bool nothingToUndo(MoveEngine& engine) {
    const auto journal = engine.journal();
    return !journal || journal->entries.empty();
  }
};

// Every item under `root`: relative path to kind, inode and content (or link target), so two
// pictures are equal only when nothing was lost, renamed, replaced or rewritten.
std::map<std::string, std::string> treePicture(const std::string& root);

}  // namespace tessel::testing
