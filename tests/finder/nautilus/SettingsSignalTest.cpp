// The host's settings-changed signal on the session bus moves the folders where Files gets
// the menu, without a menu being opened, and has Files ask for its menu again; a provider that
// ended hears nothing more.
#include <gio/gio.h>

#include "NautilusSession.h"

namespace tessel::testing {
namespace {

using SettingsSignalTest = NautilusSession;

TEST_F(SettingsSignalTest, NewRootsApplyOnceTheHostAnnouncesThemAndOnlyThen) {
  // The host is another process: the signal comes over a connection of its own.
  char* address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
  GDBusConnection* host = g_dbus_connection_new_for_address_sync(
      address,
      GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                           G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
      nullptr, nullptr, nullptr);
  g_free(address);
  ASSERT_TRUE(host) << "no session bus";
  const auto emit = [host](const char* signal) {
    g_dbus_connection_emit_signal(host, nullptr, "/com/quillmark/Tessel", "com.quillmark.Tessel",
                                  signal, nullptr, nullptr);
    g_dbus_connection_flush_sync(host, nullptr, nullptr);
  };
  const auto offeredIn = [](GObject* provider, const std::string& folder) {
    GList* items = backgroundItems(provider, folder);
    freeItems(items);
    return items != nullptr;
  };

  publish(MenuSnapshot{{home}, {}, {}});
  // An ended provider's handler would run first and touch freed memory (caught by the
  // sanitizer and valgrind runs).
  g_object_unref(makeProvider());
  GObject* provider = makeProvider();
  int updates = 0;
  g_signal_connect_swapped(provider, "items-updated", G_CALLBACK(+[](int* count) { ++*count; }),
                           &updates);
  publish(MenuSnapshot{{media}, {}, {}});
  EXPECT_FALSE(offeredIn(provider, media));
  emit("status");  // another signal of the same interface
  iterateUntil([] { return false; }, std::chrono::milliseconds(300));
  EXPECT_TRUE(offeredIn(provider, home));
  EXPECT_EQ(updates, 0);

  // Files is told to ask again for the menu of the selection it shows.
  emit("settings");
  EXPECT_TRUE(iterateUntil([&] { return updates == 1 && offeredIn(provider, media); }));
  EXPECT_FALSE(offeredIn(provider, home));
  g_object_unref(provider);
  g_object_unref(host);
}

}  // namespace
}  // namespace tessel::testing
