// Loading the star catalogue from the archive: the shipped member, the failures the user is
// told about (with their box styles) and the records kept in the scene's buffer list.
#include "scene/star_catalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scene/scene.h"
#include "tests/scene/scene_data.h"
#include "tests/support/fake_scene_host.h"

namespace {

class StarCatalogueTest : public testing::Test {
 protected:
  bool Load(const std::vector<scene_data::Member>& members) {
    host.archive = scene_data::Zip(members);
    scene.host = &host;
    return LoadStarCatalogue(scene);
  }
  void ExpectOneFailure(const char* text, MessageIcon icon) {
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, text);
    EXPECT_EQ(host.messages[0].icon, icon) << "box style of \"" << text << "\"";
    EXPECT_EQ(host.quitRequests, 1) << "the run ends after \"" << text << "\"";
    EXPECT_EQ(scene.stars.records, nullptr) << "no catalogue after \"" << text << "\"";
    EXPECT_EQ(scene.stars.count, 0);
  }

  FakeSceneHost host;
  Scene scene;
};

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

TEST_F(StarCatalogueTest, ShippedMemberHoldsEveryLineAndOneFewerWithoutTheLastLineBreak) {
  const std::vector<uint8_t> shipped = scene_data::DataFile("stars.dat");
  ASSERT_GT(shipped.size(), 2u) << "data/stars.dat is missing";
  ASSERT_TRUE(Load(scene_data::DataMembers()));
  EXPECT_EQ(scene.stars.count, 9096);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.quitRequests, 0);

  // Whatever the brightest star's position in the list, it is the one of the example.
  const StarRecord* brightest = &scene.stars.records[0];
  for (int32_t i = 1; i < scene.stars.count; ++i)
    if (scene.stars.records[i].magnitude < brightest->magnitude) brightest = &scene.stars.records[i];
  EXPECT_DOUBLE_EQ(brightest->magnitude, -1.46);
  EXPECT_DOUBLE_EQ(brightest->rightAscension, 28.13);
  EXPECT_DOUBLE_EQ(brightest->declination, -9.28);
  EXPECT_EQ(brightest->colourClass, 2);

  ASSERT_EQ(shipped[shipped.size() - 2], '\r');
  ASSERT_EQ(shipped[shipped.size() - 1], '\n');
  Scene cut;
  FakeSceneHost cutHost;
  cutHost.archive = scene_data::Zip(scene_data::Replacing(
      scene_data::DataMembers(), "stars.dat", std::vector<uint8_t>(shipped.begin(), shipped.end() - 2)));
  cut.host = &cutHost;
  ASSERT_TRUE(LoadStarCatalogue(cut));
  EXPECT_EQ(cut.stars.count, 9095) << "a last line without CR LF is not read";
}

TEST_F(StarCatalogueTest, NoArchive) {
  scene.host = &host;  // host.archive stays empty: the archive cannot be opened
  EXPECT_FALSE(LoadStarCatalogue(scene));
  ExpectOneFailure("Can't open resource data file.", MessageIcon::Stop);
}

TEST_F(StarCatalogueTest, MemberMissingOrEmpty) {
  EXPECT_FALSE(Load({{"atmos.jpg", Bytes("x")}}));
  ExpectOneFailure("Can't open stars data file.", MessageIcon::Stop);

  host.messages.clear();
  host.quitRequests = 0;
  EXPECT_FALSE(Load({{"stars.dat", {}}}));
  ExpectOneFailure("Can't open stars data file.", MessageIcon::Stop);
}

TEST_F(StarCatalogueTest, RefusedMemoryIsReportedWithoutIcon) {
  const std::string text = "1;2;3;A\n4;5;6;B\n";
  size_t asked = 0;
  EXPECT_FALSE(StoreStarCatalogue(
      host, text.data(), text.size(),
      [&asked](size_t count) -> StarRecord* {
        asked = count;
        return nullptr;
      },
      scene.stars));
  EXPECT_EQ(asked, 2u) << "one record per line feed";
  ExpectOneFailure("Can't allocate memory for stars data", MessageIcon::None);
}

TEST_F(StarCatalogueTest, TextWithoutALineFeedIsAnEmptySky) {
  EXPECT_TRUE(Load({{"stars.dat", Bytes("6.70;0.35;25.12;A")}}));
  EXPECT_EQ(scene.stars.count, 0);
  EXPECT_TRUE(host.messages.empty()) << host.messages[0].text;
  EXPECT_EQ(host.quitRequests, 0);
}

}  // namespace
