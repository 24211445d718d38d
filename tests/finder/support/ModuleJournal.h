// The log lines a file manager's module sends to the system log, collected by its test harness
// instead: the harness executable exports this definition, and the dynamic linker binds the
// module's journal calls to it before libsystemd's. Include it in one file of the harness.
#pragma once

#include <glib.h>
#include <stdarg.h>

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace tessel::testing {

struct ModuleJournal {
  std::mutex mutex;
  std::vector<std::string> lines;

  static ModuleJournal& shared() {
    static ModuleJournal journal;
    return journal;
  }
};

// The lines logged since the last clearLoggedLines(), in order.
inline std::vector<std::string> loggedLines() {
  ModuleJournal& journal = ModuleJournal::shared();
  std::lock_guard lock(journal.mutex);
  return journal.lines;
}

inline void clearLoggedLines() {
  ModuleJournal& journal = ModuleJournal::shared();
  std::lock_guard lock(journal.mutex);
  journal.lines.clear();
}

}  // namespace tessel::testing

// The first field is the message.
extern "C" int sd_journal_send(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  g_autofree char* field = g_strdup_vprintf(format, arguments);
  va_end(arguments);
  tessel::testing::ModuleJournal& journal = tessel::testing::ModuleJournal::shared();
  std::lock_guard lock(journal.mutex);
  journal.lines.emplace_back(std::string_view(field).substr(std::string_view("MESSAGE=").size()));
  return 0;
}
