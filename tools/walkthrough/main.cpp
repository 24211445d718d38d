// The headless walk-through behind `make run` on a machine without a display: it exercises
// Tessel's pieces on real files in a temporary folder and says what each step did.
#include <stdlib.h>

#include <iostream>

#include "core/Localization.h"
#include "platform/Platform.h"
#include "records/RecordCoding.h"

namespace {

using namespace tessel;

void step(const std::string& text) {
  std::cout << "• " << text << '\n';
}

void showRecords(Platform& platform, const std::string& folder) {
  const MenuSnapshot snapshot{{folder}, {{"Archive", folder + "/Archive", {}}}, {}};
  const std::string snapshotPath = folder + "/menu.json";
  platform.writeFileAtomically(snapshotPath, encodeJson(snapshot), Durability::atomic);
  step("menu snapshot written: " + platform.readFile(snapshotPath));

  const MoveRequest request =
      MoveRequest::make({folder + "/report.pdf"}, folder + "/Archive", false, {}, platform);
  const std::string requestPath = folder + "/" + request.id.string() + ".json";
  platform.writeFileAtomically(requestPath, encodeJson(request), Durability::atomic);
  const MoveRequest readBack = decodeJson<MoveRequest>(platform.readFile(requestPath));
  step("move request written and read back " +
       std::string(readBack == request ? "unchanged" : "CHANGED") + ": " +
       platform.readFile(requestPath));

  try {
    decodeJson<MenuSnapshot>(R"({"roots":[],"favorites":[]})");
  } catch (const std::exception& error) {
    step(std::string("a damaged snapshot is refused: ") + error.what());
  }
}

}  // namespace

int main() {
  Platform& platform = Platform::standard();
  char pattern[] = "/tmp/tessel-walkthrough-XXXXXX";
  if (::mkdtemp(pattern) == nullptr) {
    std::cerr << "Cannot create a temporary folder\n";
    return 1;
  }
  const std::string folder = pattern;
  std::cout << "Tessel walk-through in " << folder
            << " (language: " << preferredLocalizations().front() << ")\n";
  int status = 0;
  try {
    showRecords(platform, folder);
  } catch (const std::exception& error) {
    std::cerr << error.what() << '\n';
    status = 1;
  }
  platform.removeItem(folder);
  return status;
}
