#include "SpawnWorkspace.h"

#include <gio/gio.h>
#include <unistd.h>

namespace tessel {
namespace {

struct Start {
  std::vector<std::string> argv;
  Workspace::Completion completion;
};

// Runs in the started program before it execs: a session of its own, so that signals meant for
// Files' terminal or process group never reach the host.
void startOwnSession(gpointer) {
  ::setsid();
}

void startOnWorker(GTask* task, gpointer, gpointer data, GCancellable*) {
  const Start& start = *static_cast<Start*>(data);
  std::vector<char*> argv;
  for (const std::string& argument : start.argv)
    argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  GError* error = nullptr;
  // Without G_SPAWN_DO_NOT_REAP_CHILD GLib starts the program through an intermediate child
  // that exits at once, so nothing is left for Files to reap; GLib closes every descriptor but
  // the three streams, which go to /dev/null: the host logs to the journal itself.
  const auto flags = static_cast<GSpawnFlags>(
      G_SPAWN_STDIN_FROM_DEV_NULL | G_SPAWN_STDOUT_TO_DEV_NULL | G_SPAWN_STDERR_TO_DEV_NULL);
  const gboolean started = g_spawn_async(nullptr, argv.data(), nullptr, flags, startOwnSession,
                                         nullptr, nullptr, &error);
  if (start.completion) {
    start.completion(started ? std::nullopt : std::optional<std::string>(error->message));
  }
  g_clear_error(&error);
  g_task_return_boolean(task, started);
}

void startInBackground(std::vector<std::string> argv, Workspace::Completion completion) {
  GTask* task = g_task_new(nullptr, nullptr, nullptr, nullptr);
  g_task_set_task_data(task, new Start{std::move(argv), std::move(completion)},
                       [](gpointer data) { delete static_cast<Start*>(data); });
  g_task_run_in_thread(task, startOnWorker);
  g_object_unref(task);
}

}  // namespace

void SpawnWorkspace::openURLs(const std::vector<std::string>& urls, const std::string& application,
                              const std::vector<std::string>& arguments, Completion completion) {
  std::vector<std::string> argv{application};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  argv.insert(argv.end(), urls.begin(), urls.end());
  startInBackground(std::move(argv), std::move(completion));
}

void SpawnWorkspace::openApplication(const std::string& application) {
  startInBackground({application}, nullptr);
}

}  // namespace tessel
