// Loads a module the way Nemo and Caja do: a type module whose first use opens the file and
// calls its PREFIX_module_initialize, then PREFIX_module_list_types; it then stays loaded.
#pragma once

#include <dlfcn.h>
#include <glib-object.h>

#include <string>
#include <vector>

namespace tessel::testing {

// The types the module at `path` lists, loaded once per process.
inline const std::vector<GType>& moduleTypes(const std::string& path, const std::string& prefix) {
  static std::string modulePath = path, entryPrefix = prefix;
  static std::vector<GType> types;
  static GType loaderType = [] {
    GTypeInfo info{};
    info.class_size = sizeof(GTypeModuleClass);
    info.instance_size = sizeof(GTypeModule);
    info.class_init = [](gpointer klass, gpointer) {
      G_TYPE_MODULE_CLASS(klass)->load = [](GTypeModule* module) -> gboolean {
        void* handle = dlopen(modulePath.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) g_error("%s", dlerror());
        const std::string initialize = entryPrefix + "_module_initialize";
        const std::string list = entryPrefix + "_module_list_types";
        reinterpret_cast<void (*)(GTypeModule*)>(dlsym(handle, initialize.c_str()))(module);
        const GType* listed = nullptr;
        int count = 0;
        reinterpret_cast<void (*)(const GType**, int*)>(dlsym(handle, list.c_str()))(&listed,
                                                                                     &count);
        types.assign(listed, listed + count);
        return TRUE;
      };
      G_TYPE_MODULE_CLASS(klass)->unload = [](GTypeModule*) {};
    };
    return g_type_register_static(G_TYPE_TYPE_MODULE, "TestTypeModuleLoader", &info, GTypeFlags{});
  }();
  [[maybe_unused]] static const gboolean loaded =
      g_type_module_use(G_TYPE_MODULE(g_object_new(loaderType, nullptr)));
  return types;
}

}  // namespace tessel::testing
