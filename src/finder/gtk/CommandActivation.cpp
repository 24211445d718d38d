#include "CommandActivation.h"

namespace tessel {
namespace {

struct Activation {
  GObject* owner;
  ModuleSession* session;
  std::int64_t tag;
  ModuleSession::Selection selection;
};

void activateCommand(GObject*, gpointer data) {
  const Activation& activation = *static_cast<Activation*>(data);
  activation.session->execute(activation.tag, activation.selection);
}

void releaseActivation(gpointer data, GClosure*) {
  Activation* activation = static_cast<Activation*>(data);
  g_object_unref(activation->owner);
  delete activation;
}

}  // namespace

void connectCommand(GObject* item, GObject* owner, ModuleSession& session, std::int64_t tag,
                    ModuleSession::Selection selection) {
  g_signal_connect_data(
      item, "activate", G_CALLBACK(activateCommand),
      new Activation{G_OBJECT(g_object_ref(owner)), &session, tag, std::move(selection)},
      releaseActivation, GConnectFlags{});
}

void releaseItemsWithMenu(GObject* menu, GList* items) {
  g_object_set_data_full(menu, "tessel-held-items", items, [](gpointer list) {
    g_list_free_full(static_cast<GList*>(list), g_object_unref);
  });
}

}  // namespace tessel
