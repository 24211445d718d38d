// The host's settings-changed signal on the session bus moves the folders where Files gets
// the menu, without a menu being opened, and has Files ask for its menu again; a provider that
// ended hears nothing more.
#include <gio/gio.h>

#include "NautilusSession.h"

namespace tessel::testing {
namespace {

class SettingsSignalTest : public NautilusSession {
 protected:
  SettingsSignalTest() {
    // The host is another process: the signal comes over a connection of its own.
    char* address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    host = g_dbus_connection_new_for_address_sync(
        address,
        GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                             G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, nullptr);
    g_free(address);
  }
  ~SettingsSignalTest() override {
    if (host) g_object_unref(host);
  }

  void announce() {
    ASSERT_TRUE(host) << "no session bus";
    GError* error = nullptr;
    g_dbus_connection_emit_signal(host, nullptr, "/com/quillmark/Tessel", "com.quillmark.Tessel",
                                  "settings", nullptr, &error);
    ASSERT_EQ(error, nullptr) << error->message;
    g_dbus_connection_flush_sync(host, nullptr, nullptr);
  }

  static bool offeredIn(GObject* provider, const std::string& folder) {
    GList* items = backgroundItems(provider, folder);
    freeItems(items);
    return items != nullptr;
  }

  GDBusConnection* host = nullptr;
};

TEST_F(SettingsSignalTest, NewRootsApplyOnceTheHostAnnouncesThem) {
  publish(MenuSnapshot{{home}, {}, {}});
  GObject* provider = makeProvider();
  int updates = 0;
  g_signal_connect_swapped(provider, "items-updated", G_CALLBACK(+[](int* count) { ++*count; }),
                           &updates);
  publish(MenuSnapshot{{media}, {}, {}});
  EXPECT_FALSE(offeredIn(provider, media));

  // Files is told to ask again for the menu of the selection it shows.
  announce();
  EXPECT_TRUE(iterateUntil([&] { return updates == 1 && offeredIn(provider, media); }));
  EXPECT_FALSE(offeredIn(provider, home));
  g_object_unref(provider);
}

TEST_F(SettingsSignalTest, OtherSignalsOfTheSameInterfaceAreIgnored) {
  publish(MenuSnapshot{{home}, {}, {}});
  GObject* provider = makeProvider();
  publish(MenuSnapshot{{media}, {}, {}});
  g_dbus_connection_emit_signal(host, nullptr, "/com/quillmark/Tessel", "com.quillmark.Tessel",
                                "status", nullptr, nullptr);
  g_dbus_connection_flush_sync(host, nullptr, nullptr);
  iterateUntil([] { return false; }, std::chrono::milliseconds(300));
  EXPECT_TRUE(offeredIn(provider, home));
  g_object_unref(provider);
}

TEST_F(SettingsSignalTest, EndedProviderNoLongerListens) {
  publish(MenuSnapshot{{home}, {}, {}});
  GObject* ended = makeProvider();
  g_object_unref(ended);
  GObject* provider = makeProvider();
  publish(MenuSnapshot{{media}, {}, {}});
  // The ended provider's handler would run first and touch freed memory (caught by the
  // sanitizer and valgrind runs); the live one proves the signal went round.
  announce();
  EXPECT_TRUE(iterateUntil([&] { return offeredIn(provider, media); }));
  g_object_unref(provider);
}

}  // namespace
}  // namespace tessel::testing
