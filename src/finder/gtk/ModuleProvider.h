// The menu provider type a module registers with its file manager, for every extension library
// of one model (see ModuleMenuItems.h): an object holding a ModuleSession, offering the core's
// menu for selected items and for a folder's background within the watched folders. Besides
// the item traits, `Api` gives:
//
//   FileInfo, location(info)          the library's file type and its location (a new GFile)
//   Plugin, registerType(plugin, name, info), addInterface(plugin, type, interface, info)
//                                     how the module registers a dynamic type
//   menuProviderType(), initInterface(iface)
//                                     the library's menu provider interface, filled with
//                                     calls of ModuleProvider<Api>::itemsFor / backgroundItems
//   kTypeName, kMenuForm              the provider's type name, the menus' row budget
//   emitItemsUpdated(provider)        optional: has the file manager ask for the menu again
#pragma once

#include <glib-object.h>

#include <functional>
#include <memory>
#include <optional>

#include "LocalPath.h"
#include "ModuleMenuItems.h"
#include "ModuleSession.h"

namespace tessel {

template <class Api>
class ModuleProvider {
 public:
  // Registers the provider type with the module the file manager loaded; once, from the
  // module's initialisation.
  static GType registerIn(typename Api::Plugin* plugin) {
    static const GTypeInfo info{
        sizeof(GObjectClass), nullptr, nullptr,      classInit, nullptr, nullptr,
        sizeof(Instance),     0,       instanceInit, nullptr};
    static const GInterfaceInfo menuProvider{
        reinterpret_cast<GInterfaceInitFunc>(+[](gpointer iface, gpointer) {
          Api::initInterface(static_cast<decltype(interfaceOf(&Api::initInterface))>(iface));
        }),
        nullptr, nullptr};
    type_ = Api::registerType(plugin, Api::kTypeName, &info);
    Api::addInterface(plugin, type_, Api::menuProviderType(), &menuProvider);
    return type_;
  }
  static GType type() { return type_; }

  // The menu for the selected `files` (a list of the library's file infos); none (a null list)
  // where it is not offered, as for a location without a local path.
  static GList* itemsFor(gpointer provider, GList* files) {
    auto selection = std::make_shared<std::vector<std::string>>();
    for (GList* file = files; file; file = file->next) {
      std::optional<std::string> path =
          localPath(Api::location(static_cast<typename Api::FileInfo*>(file->data)));
      if (!path) return nullptr;
      selection->push_back(std::move(*path));
    }
    const std::optional<Menu> menu = session(provider).menuForItems(selection);
    return menuItems(provider, menu, std::move(selection), "items");
  }
  // The menu of the background of `folder`.
  static GList* backgroundItems(gpointer provider, typename Api::FileInfo* folder) {
    const std::optional<std::string> path = localPath(Api::location(folder));
    if (!path) return nullptr;
    return menuItems(provider, session(provider).menuInFolder(*path),
                     std::make_shared<std::vector<std::string>>(), "background");
  }

 private:
  struct Instance {
    GObject parent;
    ModuleSession* session;
  };

  template <class Interface>
  static Interface* interfaceOf(void (*)(Interface*));

  static ModuleSession& session(gpointer provider) {
    return *static_cast<Instance*>(provider)->session;
  }

  static GList* menuItems(gpointer provider, const std::optional<Menu>& menu,
                          ModuleSession::Selection selection, const char* kind) {
    if (!menu) return nullptr;
    return ModuleMenuItems<Api>(G_OBJECT(provider), session(provider), std::move(selection), kind)
        .list(*menu);
  }

  static void instanceInit(GTypeInstance* instance, gpointer) {
    GObject* object = G_OBJECT(instance);
    std::function<void()> itemsUpdated;
    if constexpr (requires { Api::emitItemsUpdated(object); }) {
      itemsUpdated = [object] { Api::emitItemsUpdated(object); };
    }
    reinterpret_cast<Instance*>(instance)->session =
        new ModuleSession(Api::kMenuForm, std::move(itemsUpdated));
  }

  static void finalize(GObject* object) {
    delete reinterpret_cast<Instance*>(object)->session;
    parentClass_->finalize(object);
  }

  static void classInit(gpointer klass, gpointer) {
    parentClass_ = G_OBJECT_CLASS(g_type_class_peek_parent(klass));
    G_OBJECT_CLASS(klass)->finalize = finalize;
  }

  static inline GType type_ = 0;
  static inline GObjectClass* parentClass_ = nullptr;
};

// How the libraries whose file manager loads a module as a GTypeModule register its types.
struct TypeModuleRegistration {
  using Plugin = GTypeModule;
  static GType registerType(GTypeModule* module, const char* name, const GTypeInfo* info) {
    return g_type_module_register_type(module, G_TYPE_OBJECT, name, info, G_TYPE_FLAG_FINAL);
  }
  static void addInterface(GTypeModule* module, GType type, GType interface,
                           const GInterfaceInfo* info) {
    g_type_module_add_interface(module, type, interface, info);
  }
};

}  // namespace tessel
