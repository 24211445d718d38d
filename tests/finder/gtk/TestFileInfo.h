// A file as the file manager hands it to a provider, for the harness of the file manager the
// including file names (TESSEL_TEST_HARNESS): only a location, which is all the module asks of
// it.
#pragma once

#include <gio/gio.h>

#include <string>

#include TESSEL_TEST_HARNESS

namespace tessel::testing {

inline GType testFileInfoType() {
  static const GType type = [] {
    const GType result =
        g_type_register_static_simple(G_TYPE_OBJECT, "TestFileInfo", sizeof(GObjectClass), nullptr,
                                      sizeof(GObject), nullptr, GTypeFlags{});
    const GInterfaceInfo info{
        [](gpointer iface, gpointer) {
          static_cast<Harness::FileInfoInterface*>(iface)->get_location = [](auto* file) {
            return G_FILE(g_object_ref(g_object_get_data(G_OBJECT(file), "location")));
          };
        },
        nullptr, nullptr};
    g_type_add_interface_static(result, Harness::fileInfoType(), &info);
    return result;
  }();
  return type;
}

// A new file info for a local path, or for a URI of a location without one.
inline GObject* fileInfoFor(const std::string& location) {
  GObject* info = G_OBJECT(g_object_new(testFileInfoType(), nullptr));
  g_object_set_data_full(info, "location", g_file_new_for_commandline_arg(location.c_str()),
                         g_object_unref);
  return info;
}

}  // namespace tessel::testing
