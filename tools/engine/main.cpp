// tessel-engine: the move engine on the command line, for tests, crash tests and benchmarks.
//
//   tessel-engine move --journal FILE [--source-root DIR]... [--destination-root DIR]...
//                      [--policy keepBoth|skip|cancel] --to DEST SOURCE...
//   tessel-engine undo --journal FILE [--source-root DIR]... [--destination-root DIR]...
//   tessel-engine dismiss --journal FILE
//
// move prints {"moved":M,"skipped":S} (with "failure" when the batch stopped) and undo prints
// {"undone":N}; both exit 0. A call that fails prints the error on stderr and exits 1; a
// command line that cannot be understood exits 2.
//
// TESSEL_ENGINE_STEP_DELAY_US=<microseconds> makes this program pause before every journal
// write and every move, so a crash test can kill it at any step of a batch. The pause lives
// here, in a platform wrapper, never in the engine.
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "engine/MoveEngine.h"
#include "records/RecordCoding.h"

namespace {

using namespace tessel;

struct CommandLine {
  std::string command;
  std::string journal;
  std::vector<std::string> sourceRoots;
  std::vector<std::string> destinationRoots;
  ConflictPolicy policy = ConflictPolicy::keepBoth;
  std::optional<std::string> destination;
  std::vector<std::string> sources;
};

class PacedPlatform : public PlatformWrapper {
 public:
  PacedPlatform(Platform& target, useconds_t pause) : PlatformWrapper(target), pause_(pause) {}

  void writeFileAtomically(const std::string& path, std::string_view bytes,
                           Durability durability) override {
    ::usleep(pause_);
    PlatformWrapper::writeFileAtomically(path, bytes, durability);
  }
  void moveItemBetween(const OpenFolder& fromFolder, const std::string& fromName,
                       const OpenFolder& toFolder, const std::string& toName) override {
    ::usleep(pause_);
    PlatformWrapper::moveItemBetween(fromFolder, fromName, toFolder, toName);
  }

 private:
  useconds_t pause_;
};

[[noreturn]] void usage(const std::string& problem) {
  std::cerr << "tessel-engine: " << problem << "\n"
            << "usage: tessel-engine move --journal FILE [--source-root DIR]... "
               "[--destination-root DIR]... [--policy keepBoth|skip|cancel] --to DEST SOURCE...\n"
               "       tessel-engine undo --journal FILE [--source-root DIR]... "
               "[--destination-root DIR]...\n"
               "       tessel-engine dismiss --journal FILE\n";
  std::exit(2);
}

CommandLine parse(int argc, char** argv) {
  if (argc < 2) usage("no command");
  CommandLine line;
  line.command = argv[1];
  if (line.command != "move" && line.command != "undo" && line.command != "dismiss") {
    usage("unknown command " + line.command);
  }
  bool optionsEnded = false;
  for (int i = 2; i < argc; ++i) {
    const std::string argument = argv[i];
    if (optionsEnded || argument.rfind("--", 0) != 0) {
      line.sources.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    if (i + 1 >= argc) usage(argument + " needs a value");
    const std::string value = argv[++i];
    if (argument == "--journal") {
      line.journal = value;
    } else if (argument == "--source-root") {
      line.sourceRoots.push_back(value);
    } else if (argument == "--destination-root") {
      line.destinationRoots.push_back(value);
    } else if (argument == "--to" && line.command == "move") {
      line.destination = value;
    } else if (argument == "--policy" && line.command == "move") {
      const std::optional<ConflictPolicy> policy = conflictPolicyFromRawValue(value);
      if (!policy) usage("unknown policy " + value);
      line.policy = *policy;
    } else {
      usage("unknown option " + argument);
    }
  }
  if (line.journal.empty()) usage("--journal is required");
  if (line.command == "move" && !line.destination) usage("--to is required");
  if (line.command != "move" && !line.sources.empty()) usage("unexpected " + line.sources[0]);
  return line;
}

void run(const CommandLine& line, Platform& platform) {
  MoveEngine engine(line.journal, platform);
  if (line.command == "move") {
    std::cout << encodeJson(engine.move(line.sources, *line.destination, line.sourceRoots,
                                        line.destinationRoots, line.policy))
              << '\n';
  } else if (line.command == "undo") {
    std::cout << "{\"undone\":" << engine.undo(line.sourceRoots, line.destinationRoots) << "}\n";
  } else {
    engine.dismissHistory();
  }
}

}  // namespace

int main(int argc, char** argv) {
  const CommandLine line = parse(argc, argv);
  const char* pause = std::getenv("TESSEL_ENGINE_STEP_DELAY_US");
  PacedPlatform paced(Platform::standard(),
                      pause != nullptr ? static_cast<useconds_t>(std::atol(pause)) : 0);
  Platform& platform = pause != nullptr ? static_cast<Platform&>(paced) : Platform::standard();
  try {
    run(line, platform);
  } catch (const std::exception& error) {
    std::cerr << error.what() << '\n';
    return 1;
  }
  return 0;
}
