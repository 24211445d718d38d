// The file manager calls the extension from threads of its choosing while the host replaces
// the snapshot and announces it. Run under ThreadSanitizer by `make test-tsan`.
#include <algorithm>
#include <atomic>
#include <thread>

#include "FinderDesktop.h"

namespace tessel::testing {
namespace {

using FinderConcurrencyTest = FinderDesktop;

// The command items of `menu` that send a request: every move, open-folder and undo item.
void collectRequestTags(const Menu& menu, std::vector<std::int64_t>& tags) {
  for (const MenuItem& item : menu.items) {
    if (item.submenu) collectRequestTags(*item.submenu, tags);
    if (item.tag && item.title != "Open Move Settings…") tags.push_back(*item.tag);
  }
}

TEST_F(FinderConcurrencyTest, MenusAndCommandsFromManyThreadsKeepTagsUniqueAndLoseNoRequest) {
  constexpr int kThreads = 8, kRounds = 40;
  publish(sampleSnapshot());
  finder.setSelection(std::vector<std::string>{home + "/x"});
  auto finderSync = makeFinderSync();

  std::atomic<bool> done = false;
  // The host republishing and announcing meanwhile: readers see the old or the new snapshot.
  std::thread host([&] {
    for (int round = 0; !done; ++round) {
      MenuSnapshot snapshot = sampleSnapshot();
      snapshot.roots.push_back("/media/round" + std::to_string(round % 2));
      publish(snapshot);
      notifications.post("com.quillmark.Tessel.settings");
    }
  });

  std::vector<std::vector<std::int64_t>> tagsSeen(kThreads);
  std::atomic<int> partialMenus = 0;
  std::vector<std::thread> callers;
  for (int t = 0; t < kThreads; ++t) {
    callers.emplace_back([&, t] {
      for (int round = 0; round < kRounds; ++round) {
        const Menu menu = finderSync->buildMenu();
        if (menu.items.size() != 6) {
          ++partialMenus;
          continue;
        }
        const size_t first = tagsSeen[t].size();
        collectRequestTags(menu, tagsSeen[t]);
        finderSync->execute(
            tagsSeen[t].at(first + static_cast<size_t>(round) % (tagsSeen[t].size() - first)));
      }
    });
  }
  for (std::thread& caller : callers) caller.join();
  done = true;
  host.join();

  EXPECT_EQ(partialMenus, 0);
  std::vector<std::int64_t> all;
  for (const auto& tags : tagsSeen) all.insert(all.end(), tags.begin(), tags.end());
  std::ranges::sort(all);
  EXPECT_EQ(std::ranges::adjacent_find(all), all.end()) << "a tag was handed out twice";
  EXPECT_EQ(takeRequests().size(), static_cast<size_t>(kThreads * kRounds));
  EXPECT_EQ(workspace.calls.lines().size(), static_cast<size_t>(kThreads * kRounds));
  EXPECT_TRUE(platform.logged.lines().empty());
}

}  // namespace
}  // namespace tessel::testing
