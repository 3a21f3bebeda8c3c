// Loading the star catalogue from the archive: the shipped member, the failures and what the
// user is told of them (with their box styles), and the records kept in the scene's buffer
// list.
#include "scene/star_catalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scene/scene_buffers.h"
#include "tests/scene/scene_data.h"
#include "tests/support/fake_scene_host.h"

namespace {

class StarCatalogueTest : public testing::Test {
 protected:
  SceneLoadResult Load(const std::vector<scene_data::Member>& members) {
    host.archive = scene_data::Zip(members);
    return LoadStarCatalogue(stars, host, buffers);
  }
  void ExpectFailure(const SceneLoadResult& result, const char* text, bool stopIcon) {
    ASSERT_FALSE(result.ok()) << "\"" << text << "\"";
    EXPECT_STREQ(NoticeOf(result.code()).text, text);
    EXPECT_EQ(NoticeOf(result.code()).stopIcon, stopIcon) << "box style of \"" << text << "\"";
    EXPECT_FALSE(result.reason().empty()) << "why, for \"" << text << "\"";
    EXPECT_EQ(stars.records, nullptr) << "no catalogue after \"" << text << "\"";
    EXPECT_EQ(stars.count, 0);
  }

  FakeSceneHost host;
  StarCatalogue stars;
  SceneBuffers buffers;
};

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

TEST_F(StarCatalogueTest, ShippedMemberHoldsEveryLineAndOneFewerWithoutTheLastLineBreak) {
  const std::vector<uint8_t> shipped = scene_data::DataFile("stars.dat");
  ASSERT_GT(shipped.size(), 2u) << "data/stars.dat is missing";
  ASSERT_TRUE(Load(scene_data::DataMembers()).ok());
  EXPECT_EQ(stars.count, 9096);
  EXPECT_EQ(buffers.Count(), 1u) << "the records, kept in the buffer list";

  // Whatever the brightest star's position in the list, it is the one of the example.
  const StarRecord* brightest = &stars.records[0];
  for (int32_t i = 1; i < stars.count; ++i)
    if (stars.records[i].magnitude < brightest->magnitude) brightest = &stars.records[i];
  EXPECT_DOUBLE_EQ(brightest->magnitude, -1.46);
  EXPECT_DOUBLE_EQ(brightest->rightAscension, 28.13);
  EXPECT_DOUBLE_EQ(brightest->declination, -9.28);
  EXPECT_EQ(brightest->colourClass, 2);

  ASSERT_EQ(shipped[shipped.size() - 2], '\r');
  ASSERT_EQ(shipped[shipped.size() - 1], '\n');
  StarCatalogue cut;
  host.archive = scene_data::Zip(scene_data::Replacing(scene_data::DataMembers(), "stars.dat",
                                                       std::vector<uint8_t>(shipped.begin(), shipped.end() - 2)));
  ASSERT_TRUE(LoadStarCatalogue(cut, host, buffers).ok());
  EXPECT_EQ(cut.count, 9095) << "a last line without CR LF is not read";
}

TEST_F(StarCatalogueTest, NoArchive) {
  // host.archive stays empty: the archive cannot be opened.
  ExpectFailure(LoadStarCatalogue(stars, host, buffers), "Can't open resource data file.", true);
}

TEST_F(StarCatalogueTest, MemberMissingOrEmpty) {
  ExpectFailure(Load({{"atmos.jpg", Bytes("x")}}), "Can't open stars data file.", true);
  ExpectFailure(Load({{"stars.dat", {}}}), "Can't open stars data file.", true);
}

TEST_F(StarCatalogueTest, RefusedMemoryIsReportedWithoutIcon) {
  const std::string text = "1;2;3;A\n4;5;6;B\n";
  size_t asked = 0;
  const SceneLoadResult stored = StoreStarCatalogue(
      text.data(), text.size(),
      [&asked](size_t count) -> StarRecord* {
        asked = count;
        return nullptr;
      },
      stars);
  EXPECT_EQ(asked, 2u) << "one record per line feed";
  ExpectFailure(stored, "Can't allocate memory for stars data", false);
}

TEST_F(StarCatalogueTest, TextWithoutALineFeedIsAnEmptySky) {
  const SceneLoadResult loaded = Load({{"stars.dat", Bytes("6.70;0.35;25.12;A")}});
  EXPECT_TRUE(loaded.ok()) << loaded.reason();
  EXPECT_EQ(stars.count, 0);
}

}  // namespace
