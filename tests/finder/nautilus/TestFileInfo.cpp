#include "TestFileInfo.h"

#include <nautilus-extension.h>

G_BEGIN_DECLS
#define TEST_TYPE_FILE_INFO (test_file_info_get_type())
G_DECLARE_FINAL_TYPE(TestFileInfo, test_file_info, TEST, FILE_INFO, GObject)
G_END_DECLS

struct _TestFileInfo {
  GObject parent_instance;
  GFile* location;
};

static void test_file_info_file_info_init(NautilusFileInfoInterface* iface);

G_DEFINE_TYPE_WITH_CODE(TestFileInfo, test_file_info, G_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(NAUTILUS_TYPE_FILE_INFO,
                                              test_file_info_file_info_init))

static void test_file_info_init(TestFileInfo*) {}

static void test_file_info_finalize(GObject* object) {
  g_clear_object(&TEST_FILE_INFO(object)->location);
  G_OBJECT_CLASS(test_file_info_parent_class)->finalize(object);
}

static void test_file_info_class_init(TestFileInfoClass* klass) {
  G_OBJECT_CLASS(klass)->finalize = test_file_info_finalize;
}

static GFile* test_file_info_get_location(NautilusFileInfo* info) {
  return G_FILE(g_object_ref(TEST_FILE_INFO(info)->location));
}

static void test_file_info_file_info_init(NautilusFileInfoInterface* iface) {
  iface->get_location = test_file_info_get_location;
}

namespace tessel::testing {

GObject* fileInfoFor(const std::string& location) {
  TestFileInfo* info = TEST_FILE_INFO(g_object_new(TEST_TYPE_FILE_INFO, nullptr));
  info->location = location.find("://") == std::string::npos ? g_file_new_for_path(location.c_str())
                                                             : g_file_new_for_uri(location.c_str());
  return G_OBJECT(info);
}

}  // namespace tessel::testing
