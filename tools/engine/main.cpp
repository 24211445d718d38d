// tessel-engine: the move engine on the command line, for tests, crash tests and benchmarks.
//
//   tessel-engine move --journal FILE [--source-root DIR]... [--destination-root DIR]...
//                      [--policy keepBoth|skip|cancel] --to DEST SOURCE...
//   tessel-engine undo --journal FILE [--source-root DIR]... [--destination-root DIR]...
//   tessel-engine dismiss --journal FILE
//
// move prints {"moved":M,"skipped":S} (with "failure" when the batch stopped) and undo prints
// {"undone":N}; both exit 0. A call that fails prints the error on stderr and exits 1; a
// command line that cannot be understood exits 2. --help and --version print and exit 0.
//
// TESSEL_ENGINE_STEP_DELAY_US=<microseconds> makes this program pause before every journal
// write and every move, so a crash test can kill it at any step of a batch. The pause lives
// here, in a platform wrapper, never in the engine.
#include <getopt.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "core/TypedOption.h"
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

constexpr const char* kUsage =
    "Usage: tessel-engine move --journal FILE [--source-root DIR]... [--destination-root DIR]...\n"
    "                          [--policy keepBoth|skip|cancel] --to DEST SOURCE...\n"
    "       tessel-engine undo --journal FILE [--source-root DIR]... [--destination-root DIR]...\n"
    "       tessel-engine dismiss --journal FILE\n";

constexpr const char* kHelp =
    "\nRuns Tessel's move engine on the command line.\n\n"
    "  move                     move SOURCE... into DEST, journalled; prints\n"
    "                           {\"moved\":M,\"skipped\":S} (with \"failure\" when it stopped)\n"
    "  undo                     undo the journalled batch; prints {\"undone\":N}\n"
    "  dismiss                  forget the journalled batch\n"
    "  -j, --journal=FILE       the journal file\n"
    "  -s, --source-root=DIR    a folder the sources may lie in (repeatable)\n"
    "  -d, --destination-root=DIR  a folder the destination may lie in (repeatable)\n"
    "  -p, --policy=POLICY      what to do on a name conflict: keepBoth (default), skip, cancel\n"
    "  -t, --to=DEST            the destination folder of move\n"
    "  -h, --help               print this help and exit\n"
    "  -V, --version            print the version and exit\n\n"
    "Exit status: 0 when the command ran; 1 when it failed (the error is printed on standard\n"
    "error); 2 for a malformed command line.\n\n"
    "Environment: TESSEL_ENGINE_STEP_DELAY_US pauses this many microseconds before every\n"
    "journal write and every move (for crash tests).\n";

[[noreturn]] void usage(const std::string& problem) {
  std::cerr << "tessel-engine: " << problem << "\n"
            << "Try 'tessel-engine --help' for more information.\n";
  std::exit(2);
}

[[noreturn]] void answer(const std::string& text) {
  std::cout << text;
  std::exit(0);
}

CommandLine parse(int argc, char** argv) {
  static const option kOptions[] = {{"journal", required_argument, nullptr, 'j'},
                                    {"source-root", required_argument, nullptr, 's'},
                                    {"destination-root", required_argument, nullptr, 'd'},
                                    {"policy", required_argument, nullptr, 'p'},
                                    {"to", required_argument, nullptr, 't'},
                                    {"help", no_argument, nullptr, 'h'},
                                    {"version", no_argument, nullptr, 'V'},
                                    {nullptr, 0, nullptr, 0}};
  CommandLine line;
  ::opterr = 0;
  for (int option;
       (option = ::getopt_long(argc, argv, ":j:s:d:p:t:hV", kOptions, nullptr)) != -1;) {
    switch (option) {
      case 'j':
        line.journal = ::optarg;
        break;
      case 's':
        line.sourceRoots.emplace_back(::optarg);
        break;
      case 'd':
        line.destinationRoots.emplace_back(::optarg);
        break;
      case 't':
        line.destination = ::optarg;
        break;
      case 'p':
        if (const std::optional<ConflictPolicy> policy = conflictPolicyFromRawValue(::optarg)) {
          line.policy = *policy;
        } else {
          usage(std::string("unknown policy ") + ::optarg);
        }
        break;
      case 'h':
        answer(std::string(kUsage) + kHelp);
      case 'V':
        answer("tessel-engine " TESSEL_VERSION "\n");
      case ':':
        usage("option " + typedOption(argv, ::optind, ::optopt) + " needs a value");
      default:
        usage("unknown option " + typedOption(argv, ::optind, ::optopt));
    }
  }
  // getopt_long has moved the operands behind the options.
  if (::optind >= argc) usage("no command");
  line.command = argv[::optind];
  line.sources.assign(argv + ::optind + 1, argv + argc);
  if (line.command != "move" && line.command != "undo" && line.command != "dismiss") {
    usage("unknown command " + line.command);
  }
  if (line.journal.empty()) usage("--journal is required");
  if (line.command != "move" && (line.destination || !line.sources.empty())) {
    usage(line.destination ? "--to belongs to move" : "unexpected " + line.sources[0]);
  }
  if (line.command == "move" && !line.destination) usage("--to is required");
  return line;
}

void run(const CommandLine& line, Platform& platform) {
  MoveEngine engine(line.journal, platform);
  if (line.command == "move") {
    std::cout << encodeJson(engine.move(line.sources, *line.destination, line.sourceRoots,
                                        line.destinationRoots, line.policy))
              << '\n';
  } else if (line.command == "undo") {
    // Counted before anything is printed: a failed undo must leave no half answer on stdout.
    const std::int64_t undone = engine.undo(line.sourceRoots, line.destinationRoots);
    std::cout << "{\"undone\":" << undone << "}\n";
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
