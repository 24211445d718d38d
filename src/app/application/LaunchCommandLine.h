// `tessel`'s command line checked before anything starts: the command for the host, or what
// to print instead (the help, the version, or what is wrong) and the exit status.
#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <optional>

#include "application/LaunchCommand.h"

namespace tessel {

struct LaunchCommandLine {
  enum Status { kSuccess = 0, kUsage = 2 };

  // None when the command line asks for no host at all.
  std::optional<LaunchCommand> command;
  QByteArray standardOutput;
  QByteArray standardError;
  int exitStatus = kSuccess;

  // `argv` with the program name first, as bytes; relative FILE paths are taken from
  // `workingFolder`.
  static LaunchCommandLine read(const QByteArrayList& argv, const QByteArray& workingFolder);
};

}  // namespace tessel
