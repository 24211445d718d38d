#include "BusWorkspace.h"

#include <gio/gio.h>

#include <optional>
#include <string_view>

#include "HostApplication.h"
#include "request/HostAddress.h"

namespace tessel {
namespace {

constexpr const char* kInterface = "org.freedesktop.Application";
// Long enough for the bus to start the host on a loaded machine.
constexpr int kTimeoutMilliseconds = 10000;

struct Delivery {
  enum { answered, refused, queued, unreached } outcome;
  std::string reason;  // the host's, when it refused
};

// The host's reason, when `error` is its answer that it did not take the request up.
std::optional<std::string> refusal(GError* error) {
  gchar* name = g_dbus_error_get_remote_error(error);
  const bool refused = name != nullptr && std::string_view(name) == HostAddress::kRequestRefused;
  g_free(name);
  if (!refused) return std::nullopt;
  g_dbus_error_strip_remote_error(error);
  return std::string(error->message);
}

// Calls `method` on the host, letting the bus start it. `parameters` is floating and always
// consumed.
Delivery call(const char* method, GVariant* parameters) {
  g_variant_ref_sink(parameters);
  GError* error = nullptr;
  GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
  GVariant* reply = nullptr;
  if (bus) {
    reply = g_dbus_connection_call_sync(
        bus, HostAddress::kBusName, HostAddress::kObjectPath, kInterface, method, parameters,
        nullptr, G_DBUS_CALL_FLAGS_NONE, kTimeoutMilliseconds, nullptr, &error);
    g_object_unref(bus);
  }
  g_variant_unref(parameters);
  if (reply) {
    g_variant_unref(reply);
    return {Delivery::answered, {}};
  }
  if (std::optional<std::string> reason = refusal(error)) {
    g_error_free(error);
    return {Delivery::refused, std::move(*reason)};
  }
  // Every other error means that no host got the message: none could be started, the one
  // reached went away, or the bus itself is missing.
  const bool waiting = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_TIMED_OUT) ||
                       g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_NO_REPLY);
  g_error_free(error);
  return {waiting ? Delivery::queued : Delivery::unreached, {}};
}

}  // namespace

BusWorkspace::BusWorkspace(Workspace& fallback, Platform& platform, Refused refused)
    : fallback_(fallback), platform_(platform), refused_(std::move(refused)) {}

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
    const Delivery delivery = call("Open", g_variant_new("(asa{sv})", &uris, nullptr));
    if (delivery.outcome == Delivery::unreached) {
      fallback_.openURLs(urls, application, arguments, completion);
      return;
    }
    if (delivery.outcome == Delivery::refused && refused_) refused_(delivery.reason);
    // The host was reached: nothing failed to start.
    if (completion) completion(std::nullopt);
  };
  if (calls_.run(open)) fallback_.openURLs(urls, application, arguments, std::move(completion));
}

void BusWorkspace::openApplication(const std::string& application) {
  if (!useBus()) {
    fallback_.openApplication(application);
    return;
  }
  const auto activate = [this, application] {
    if (call("Activate", g_variant_new("(a{sv})", nullptr)).outcome == Delivery::unreached) {
      fallback_.openApplication(application);
    }
  };
  if (calls_.run(activate)) fallback_.openApplication(application);
}

}  // namespace tessel
