#include "LoadedModule.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <mutex>

G_BEGIN_DECLS
#define TEST_TYPE_MODULE (test_module_get_type())
G_DECLARE_FINAL_TYPE(TestModule, test_module, TEST, MODULE, GTypeModule)
G_END_DECLS

struct _TestModule {
  GTypeModule parent_instance;
  void* handle;
  std::vector<GType>* types;
};

G_DEFINE_TYPE(TestModule, test_module, G_TYPE_TYPE_MODULE)

static gboolean test_module_load(GTypeModule* typeModule) {
  TestModule* module = TEST_MODULE(typeModule);
  module->handle = dlopen(TESSEL_NAUTILUS_MODULE, RTLD_NOW | RTLD_LOCAL);
  if (!module->handle) {
    ADD_FAILURE() << dlerror();
    return FALSE;
  }
  using Initialize = void (*)(GTypeModule*);
  using ListTypes = void (*)(const GType**, int*);
  auto initialize =
      reinterpret_cast<Initialize>(dlsym(module->handle, "nautilus_module_initialize"));
  auto listTypes = reinterpret_cast<ListTypes>(dlsym(module->handle, "nautilus_module_list_types"));
  if (!initialize || !listTypes || !dlsym(module->handle, "nautilus_module_shutdown")) {
    ADD_FAILURE() << "an entry point is missing";
    return FALSE;
  }
  initialize(typeModule);
  const GType* types = nullptr;
  int count = 0;
  listTypes(&types, &count);
  module->types->assign(types, types + count);
  return TRUE;
}

static void test_module_unload(GTypeModule*) {}

static void test_module_init(TestModule*) {}

static void test_module_class_init(TestModuleClass* klass) {
  G_TYPE_MODULE_CLASS(klass)->load = test_module_load;
  G_TYPE_MODULE_CLASS(klass)->unload = test_module_unload;
}

namespace tessel::testing {

const std::vector<GType>& moduleTypes() {
  static std::vector<GType> types;
  static std::once_flag loaded;
  std::call_once(loaded, [] {
    TestModule* module = TEST_MODULE(g_object_new(TEST_TYPE_MODULE, nullptr));
    module->types = &types;
    g_type_module_use(G_TYPE_MODULE(module));
  });
  return types;
}

}  // namespace tessel::testing
