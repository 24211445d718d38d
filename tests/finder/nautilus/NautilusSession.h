// A test's own desktop session for the module: a data folder with the shared container, an
// Info file, a stand-in host that records its arguments, the module's log lines, and helpers
// that ask a provider for menus the way Files does.
#pragma once

#include <glib-object.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "records/Records.h"

namespace tessel::testing {

// Log lines the module sent to the system log, in order.
std::vector<std::string> loggedLines();

class NautilusSession : public ::testing::Test {
 protected:
  NautilusSession();
  ~NautilusSession() override;

  // Archive (with 2026 below it) and Inbox as favourites; Inbox and 2026 as recent
  // destinations; `home` and `media` as roots.
  MenuSnapshot sampleSnapshot() const;
  void publish(const MenuSnapshot& snapshot) const;
  // The requests stored in the container, removed from it.
  std::vector<MoveRequest> takeRequests() const;

  // A new provider from the module's listed type (a full reference).
  GObject* makeProvider() const;
  // What the provider offers for these selected items, or for the background of `folder`;
  // the caller owns the list.
  static GList* fileItems(GObject* provider, const std::vector<std::string>& paths);
  static GList* backgroundItems(GObject* provider, const std::string& folder);

  // The items as an indented tree, one label per line; an item holding a submenu is marked
  // "›", an insensitive one "(off)".
  static std::string text(GList* items);
  // Activates the item reached through `titles` ("Move To", "Inbox").
  static void activate(GList* items, const std::vector<std::string>& titles);

  // Runs the main context until `condition` holds; false when `timeout` passes without.
  static bool iterateUntil(const std::function<bool()>& condition,
                           std::chrono::milliseconds timeout = std::chrono::seconds(20));
  // The arguments of each start of the host, once it has started `count` times.
  std::vector<std::string> hostStarts(std::size_t count) const;

  TempFolder folder;
  const std::string home = folder.folder("home");
  const std::string media = folder.folder("media");
};

// Frees a menu item list the way Files does.
void freeItems(GList* items);

}  // namespace tessel::testing
