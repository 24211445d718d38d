#include "BusWorkspace.h"

#include <gio/gio.h>

#include "HostApplication.h"

namespace tessel {
namespace {

constexpr const char* kName = "com.quillmark.Tessel";
constexpr const char* kPath = "/com/quillmark/Tessel";
constexpr const char* kInterface = "org.freedesktop.Application";
// Long enough for the bus to start the host on a loaded machine.
constexpr int kTimeoutMilliseconds = 10000;

enum class Delivery { answered, queued, unreached };

// Calls `method` on the host, letting the bus start it. `parameters` is floating and always
// consumed.
Delivery call(const char* method, GVariant* parameters) {
  g_variant_ref_sink(parameters);
  GError* error = nullptr;
  GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
  GVariant* reply = nullptr;
  if (bus) {
    reply =
        g_dbus_connection_call_sync(bus, kName, kPath, kInterface, method, parameters, nullptr,
                                    G_DBUS_CALL_FLAGS_NONE, kTimeoutMilliseconds, nullptr, &error);
    g_object_unref(bus);
  }
  g_variant_unref(parameters);
  if (reply) {
    g_variant_unref(reply);
    return Delivery::answered;
  }
  // Every other error means that no host got the message: none could be started, the one
  // reached went away, or the bus itself is missing.
  const bool waiting = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_TIMED_OUT) ||
                       g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_NO_REPLY);
  g_error_free(error);
  return waiting ? Delivery::queued : Delivery::unreached;
}

}  // namespace

BusWorkspace::BusWorkspace(Workspace& fallback, Platform& platform)
    : fallback_(fallback), platform_(platform) {}

bool BusWorkspace::useBus() {
  return !HostApplication::executableOverride(platform_);
}

void BusWorkspace::openURLs(const std::vector<std::string>& urls, const std::string& application,
                            const std::vector<std::string>& arguments, Completion completion) {
  if (!useBus()) {
    fallback_.openURLs(urls, application, arguments, std::move(completion));
    return;
  }
  const auto open = [this, urls, application, arguments, completion] {
    GVariantBuilder uris;
    g_variant_builder_init(&uris, G_VARIANT_TYPE_STRING_ARRAY);
    for (const std::string& url : urls) g_variant_builder_add(&uris, "s", url.c_str());
    if (call("Open", g_variant_new("(asa{sv})", &uris, nullptr)) == Delivery::unreached) {
      fallback_.openURLs(urls, application, arguments, completion);
    } else if (completion) {
      completion(std::nullopt);
    }
  };
  if (calls_.run(open)) fallback_.openURLs(urls, application, arguments, std::move(completion));
}

void BusWorkspace::openApplication(const std::string& application) {
  if (!useBus()) {
    fallback_.openApplication(application);
    return;
  }
  const auto activate = [this, application] {
    if (call("Activate", g_variant_new("(a{sv})", nullptr)) == Delivery::unreached) {
      fallback_.openApplication(application);
    }
  };
  if (calls_.run(activate)) fallback_.openApplication(application);
}

}  // namespace tessel
