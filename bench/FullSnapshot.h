// The largest menu snapshot the host publishes, for the menu benchmarks: 20 favourites over
// 400 folders, 20 recent destinations.
#pragma once

#include <string>
#include <utility>

#include "records/Records.h"

namespace tessel {

// Each favourite holds 4 folders with 4 sub-folders each: 20 folders a favourite, 400 in all.
inline MenuSnapshot fullSnapshot() {
  MenuSnapshot snapshot;
  snapshot.roots = {"/home/user", "/media/user/Backup"};
  for (int f = 0; f < 20; ++f) {
    const std::string path = "/home/user/Favourite " + std::to_string(f);
    MenuDestination favourite{"Favourite " + std::to_string(f), path, {}};
    for (int c = 0; c < 4; ++c) {
      const std::string child = path + "/Projekt – 書類 " + std::to_string(c);
      MenuDestination folder{"Projekt – 書類 " + std::to_string(c), child, {}};
      for (int g = 0; g < 4; ++g) {
        folder.children.push_back(
            {"Jahr " + std::to_string(2020 + g), child + "/Jahr " + std::to_string(2020 + g), {}});
      }
      favourite.children.push_back(std::move(folder));
    }
    snapshot.recent.push_back(f % 2 ? favourite.children[0]
                                    : MenuDestination{favourite.name, path, {}});
    snapshot.favorites.push_back(std::move(favourite));
  }
  return snapshot;
}

}  // namespace tessel
