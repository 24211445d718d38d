// The platform the host model's tests run on: real files in a temporary folder, with the home
// folder, the data folder, the Info file and the mount table pinned there, and a way to hold
// the engine's first move until the test lets it go.
#pragma once

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "FaultInjectingPlatform.h"
#include "TempFolder.h"

namespace tessel::testing {

// Holds the thread that reaches it until released; later threads pass freely.
class Gate {
 public:
  void enterAndWait();
  void waitUntilEntered();
  void release();

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool entered_ = false;
  bool open_ = false;
};

class HostTestPlatform : public FaultInjectingPlatform {
 public:
  // A direct build unless `direct` is false.
  explicit HostTestPlatform(const TempFolder& temp, bool direct = true);

  std::string home;
  std::string dataHome;
  std::string container;  // the shared container of the test's group
  // What /proc/self/mountinfo reads as; empty, so no volumes, unless a test sets it.
  std::string mountinfo;
  // Further environment variables as the code under test sees them.
  std::map<std::string, std::string> variables;

  // Rewrites the Info file.
  void writeInfo(bool direct, const std::string& group = "group.test");
  // Makes the engine's first move wait at `gate`.
  void holdFirstMove(const std::shared_ptr<Gate>& gate);

  std::string homeFolder() override { return home; }
  std::string readFile(const std::string& path) override;

 private:
  std::string infoFile_;
};

}  // namespace tessel::testing
