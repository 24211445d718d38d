#include "core/Localization.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

#include "FaultInjectingPlatform.h"
#include "TempFolder.h"
#include "core/Bundle.h"

namespace tessel {
namespace {

// A platform whose environment holds exactly `variables`.
struct Environment {
  explicit Environment(std::map<std::string, std::string> variables) {
    platform.variables = std::move(variables);
    platform.inheritsEnvironment = false;
  }
  testing::FaultInjectingPlatform platform;
};

// Gettext order (LANGUAGE, LC_ALL, LC_MESSAGES, LANG), skipping undeclared languages and C.
TEST(PreferredLocalizations, FollowsTheUsersLanguageLists) {
  const std::vector<std::pair<std::map<std::string, std::string>, std::string>> cases{
      {{{"LANG", "ja_JP.UTF-8"}}, "ja"},
      {{{"LANGUAGE", "ja:en"}, {"LANG", "en_US.UTF-8"}}, "ja"},
      {{{"LANGUAGE", "en_GB:ja"}, {"LANG", "ja_JP.UTF-8"}}, "en"},
      {{{"LC_ALL", "ja_JP.eucJP"}, {"LANG", "en_US.UTF-8"}}, "ja"},
      {{{"LC_MESSAGES", "en_US"}, {"LANG", "ja_JP"}}, "en"},
      {{{"LANGUAGE", "fr_FR:ja"}}, "ja"},
      {{{"LC_ALL", "C"}, {"LANG", "ja_JP.UTF-8"}}, "ja"},
      {{{"LC_ALL", "POSIX"}, {"LC_MESSAGES", "C.UTF-8"}}, "en"},
      {{{"LANGUAGE", ""}, {"LANG", "de_DE"}}, "en"},
      {{}, "en"},
  };
  for (const auto& [variables, first] : cases) {
    Environment environment(variables);
    EXPECT_EQ(preferredLocalizations(environment.platform).front(), first);
  }
}

TEST(FormatText, FillsPlaceholdersInOrderAndKeepsExtraOnes) {
  EXPECT_EQ(formatText("「%@」を「%@」へ", {"a", "b"}), "「a」を「b」へ");
  EXPECT_EQ(formatText("%@ and %@", {"one"}), "one and %@");
  EXPECT_EQ(formatText("100%", {}), "100%");
}

class InfoFile : public ::testing::Test {
 protected:
  InfoFile() { platform.inheritsEnvironment = false; }
  // The platform, its Info file holding `content`.
  Platform& withInfo(const std::string& content) {
    platform.variables = {{"TESSEL_INFO_FILE", folder.file("info.json", content)}};
    return platform;
  }
  testing::TempFolder folder;
  testing::FaultInjectingPlatform platform;
};

// Only the JSON literal true makes a direct build, and only a JSON string is an identifier.
TEST_F(InfoFile, ValuesOfTheWrongTypeConfigureNothing) {
  EXPECT_TRUE(DistributionMode::direct(withInfo(R"({"TesselDirectDistribution":true})")));
  for (const char* content :
       {R"({"TesselDirectDistribution":false})", R"({"TesselDirectDistribution":"true"})",
        R"({"TesselDirectDistribution":1})", "{}", "not json", "[true]"}) {
    EXPECT_FALSE(DistributionMode::direct(withInfo(content))) << content;
  }
  const auto group = [&](const std::string& content) {
    return Bundle::infoString("TesselAppGroup", withInfo(content));
  };
  EXPECT_EQ(group(R"({"TesselAppGroup":"group.example"})"), "group.example");
  EXPECT_EQ(group(R"({"TesselAppGroup":42})"), std::nullopt);
  EXPECT_EQ(group(R"({"TesselAppGroup":null})"), std::nullopt);

  platform.variables = {{"TESSEL_INFO_FILE", folder.at("absent.json")}};
  EXPECT_FALSE(DistributionMode::direct(platform));
}

}  // namespace
}  // namespace tessel
