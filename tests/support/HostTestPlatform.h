// The platform the host's tests run on: real files in a temporary folder, with the home
// folder, the data folder, the Info file and the mount table pinned there. Moves can be held
// on the worker thread to keep the model busy.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>

#include "FaultInjectingPlatform.h"
#include "TempFolder.h"

namespace tessel::testing {

class HostTestPlatform : public FaultInjectingPlatform {
 public:
  // A direct build unless `direct` is false.
  explicit HostTestPlatform(const TempFolder& temp, bool direct = true)
      : dataHome(temp.folder("data")),
        container(dataHome + "/group.test"),
        infoFile_(temp.at("tessel-info.json")) {
    home = temp.folder("home");
    variables = {{"XDG_DATA_HOME", dataHome}, {"TESSEL_INFO_FILE", infoFile_}};
    writeInfo(direct);
  }

  std::string dataHome;
  std::string container;  // the shared container of the test's group
  // What /proc/self/mountinfo reads as; empty, so no volumes, unless a test sets it.
  std::string mountinfo;

  void writeInfo(bool direct, const std::string& group = "group.test") {
    writeFileAtomically(infoFile_,
                        std::string("{\"TesselDirectDistribution\":") +
                            (direct ? "true" : "false") + ",\"TesselAppGroup\":\"" + group + "\"}",
                        Durability::atomic);
  }
  std::string readFile(const std::string& path) override {
    return path == "/proc/self/mountinfo" ? mountinfo : FaultInjectingPlatform::readFile(path);
  }

  // Moves wait from holdMoves() until releaseMoves().
  void holdMoves();
  void releaseMoves();
  void moveItemBetween(const OpenFolder& fromFolder, const std::string& fromName,
                       const OpenFolder& toFolder, const std::string& toName) override;

 private:
  std::string infoFile_;
  std::mutex heldMutex_;
  std::condition_variable released_;
  bool held_ = false;
};

}  // namespace tessel::testing
