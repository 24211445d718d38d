// The workspace of a desktop session: the host is reached by its name on the session bus,
// com.quillmark.Tessel, through org.freedesktop.Application, and the bus starts it from its
// service file when none runs. Where the bus cannot reach a host (no session bus, no service
// file, a start that failed), `fallback` starts the host as a program instead.
//
// A call that reached the bus but got no answer in time is not a failure: the message waits in
// the host's queue (a host that is stopped, or still starting) and is carried out when the
// host answers, so nothing else is tried and nothing is reported.
//
// The host answers `Open` once it has consumed and checked the request, with an error when it
// did not take it up (a move already running, an expired request, ...). That request is gone
// from the folder, so it is not handed to `fallback` either; the reason goes to whoever asked
// to hear it.
#pragma once

#include <functional>
#include <string>

#include "BackgroundTasks.h"
#include "Workspace.h"
#include "platform/Platform.h"

namespace tessel {

class BusWorkspace final : public Workspace {
 public:
  // Receives the host's reason for not taking a request up, on the call's thread.
  using Refused = std::function<void(const std::string& reason)>;

  explicit BusWorkspace(Workspace& fallback, Platform& platform = Platform::standard(),
                        Refused refused = {});

  // `Open` with `urls`; `completion` runs on a thread of its own.
  void openURLs(const std::vector<std::string>& urls, const std::string& application,
                const std::vector<std::string>& arguments, Completion completion) override;
  // `Activate`: a running host shows its window, as when the user opens it.
  void openApplication(const std::string& application) override;

 private:
  // False when the host must be started as a program: a host named by the environment.
  bool useBus();

  Workspace& fallback_;
  Platform& platform_;
  Refused refused_;
  // Last, so that calls still in flight end before the rest goes away.
  BackgroundTasks calls_;
};

}  // namespace tessel
