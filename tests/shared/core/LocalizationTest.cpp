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

class EnvironmentTest : public ::testing::Test {
 protected:
  EnvironmentTest() { platform.inheritsEnvironment = false; }
  // The platform, its environment holding exactly `variables`.
  Platform& with(std::map<std::string, std::string> variables) {
    platform.variables = std::move(variables);
    return platform;
  }
  // The platform, its Info file holding `content`.
  Platform& withInfo(const std::string& content) {
    return with({{"TESSEL_INFO_FILE", folder.file("info.json", content)}});
  }
  testing::TempFolder folder;
  testing::FaultInjectingPlatform platform;
};

// Gettext order (LANGUAGE, LC_ALL, LC_MESSAGES, LANG), skipping undeclared languages and C.
TEST_F(EnvironmentTest, PreferredLocalizationsFollowTheUsersLanguageLists) {
  const std::vector<std::pair<std::map<std::string, std::string>, std::string>> cases{
      {{{"LANG", "ja_JP.UTF-8"}}, "ja"},
      {{{"LANGUAGE", "en_GB:ja"}, {"LANG", "ja_JP.UTF-8"}}, "en"},
      {{{"LC_ALL", "ja_JP.eucJP"}, {"LANG", "en_US.UTF-8"}}, "ja"},
      {{{"LC_MESSAGES", "en_US"}, {"LANG", "ja_JP"}}, "en"},
      {{{"LANGUAGE", "fr_FR:ja"}}, "ja"},
      {{{"LC_ALL", "C"}, {"LANG", "ja_JP.UTF-8"}}, "ja"},
      {{{"LC_ALL", "POSIX"}, {"LC_MESSAGES", "C.UTF-8"}}, "en"},
      {{{"LANGUAGE", ""}, {"LANG", "de_DE"}}, "en"},
  };
  for (const auto& [variables, first] : cases) {
    EXPECT_EQ(preferredLocalizations(with(variables)).front(), first);
  }
  EXPECT_EQ(formatText("「%@」を「%@」へ", {"a", "b"}), "「a」を「b」へ");
  EXPECT_EQ(formatText("%@ and %@ 100%", {"one"}), "one and %@ 100%");
}

// Only the JSON literal true makes a direct build, and only a JSON string is an identifier.
TEST_F(EnvironmentTest, InfoValuesOfTheWrongTypeConfigureNothing) {
  EXPECT_TRUE(DistributionMode::direct(withInfo(R"({"TesselDirectDistribution":true})")));
  for (const char* content : {R"({"TesselDirectDistribution":false})",
                              R"({"TesselDirectDistribution":"true"})", "not json"}) {
    EXPECT_FALSE(DistributionMode::direct(withInfo(content))) << content;
  }
  for (const auto& [content, group] :
       std::vector<std::pair<std::string, std::optional<std::string>>>{
           {R"({"TesselAppGroup":"group.example"})", "group.example"},
           {R"({"TesselAppGroup":42})", std::nullopt},
           {R"({"TesselAppGroup":null})", std::nullopt}}) {
    EXPECT_EQ(Bundle::infoString("TesselAppGroup", withInfo(content)), group);
  }
  EXPECT_FALSE(DistributionMode::direct(with({{"TESSEL_INFO_FILE", folder.at("absent.json")}})));
}

}  // namespace
}  // namespace tessel
