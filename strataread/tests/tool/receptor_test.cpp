// The host's image receptor, driven the way a reader drives it.
#include <gtest/gtest.h>

#include <vector>

#include "kivhost/receptor.h"

namespace {

using kivhost::ImageReceptor;
using kivhost::LayoutChoice;
using kivhost::ReceptorCall;
using kivhost::Ref;

ImageInfo SmallInfo() {
  ImageInfo info{};
  info.width = 3;
  info.height = 2;
  info.rowBytes = 9;
  info.pixelLayout = LayoutRgb;
  info.components = 3;
  info.bitsPerComponent = 8;
  return info;
}

struct ChoiceCase {
  const char* name;
  std::vector<std::int32_t> offers;
  LayoutChoice choose;
  KivResult result;
  std::vector<std::int32_t> offersAfter;  // the reader's list after BeginImage
};

class ReceptorChoiceTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(ReceptorChoiceTest, PutsTheChoiceFirst) {
  const ChoiceCase& c = GetParam();
  const std::int64_t live = kivhost::LiveObjects();
  {
    Ref<ImageReceptor> receptor = ImageReceptor::Create();
    if (c.choose) receptor->SetLayoutChoice(c.choose);
    std::vector<std::int32_t> offers = c.offers;
    offers.resize(8, -7);  // the reader's list has eight entries
    ImageInfo info = SmallInfo();
    std::int32_t outValue = 0;
    EXPECT_EQ(receptor->BeginImage(static_cast<std::int32_t>(c.offers.size()), offers.data(), 1, &info, 0, 1,
                                   &outValue),
              c.result);
    std::vector<std::int32_t> expected = c.offersAfter;
    expected.resize(8, -7);
    EXPECT_EQ(offers, expected);
    EXPECT_EQ(receptor->Offers(), c.offers);
    if (c.result == kKivResult_OK) {
      ASSERT_TRUE(receptor->ChosenLayout());
      EXPECT_EQ(*receptor->ChosenLayout(), c.offersAfter[0]);
    } else {
      EXPECT_FALSE(receptor->ChosenLayout());
    }
    ASSERT_TRUE(receptor->BeginInfo());
    EXPECT_EQ(receptor->BeginInfo()->rowBytes, 9);
  }
  EXPECT_EQ(kivhost::LiveObjects(), live);
}

const ChoiceCase kChoiceCases[] = {
    {"DefaultTakesTheFirstOffer", {2, 0}, nullptr, kKivResult_OK, {2, 0}},
    {"PreferredOfferMovesToTheFront", {6, 1, 0}, kivhost::PreferLayouts({1}), kKivResult_OK, {1, 6, 0}},
    {"LastOfferMovesToTheFront", {3, 1, 2, 0}, kivhost::PreferLayouts({0}), kKivResult_OK, {0, 3, 1, 2}},
    {"FirstPreferenceOfferedWins", {4, 1, 0}, kivhost::PreferLayouts({7, 0, 1}), kKivResult_OK, {0, 4, 1}},
    {"PreferenceNotOfferedFallsBackToFirst", {2, 0}, kivhost::PreferLayouts({1}), kKivResult_OK, {2, 0}},
    {"OnlyLayoutNotOfferedRefuses", {4, 1, 0}, kivhost::OnlyLayout(7), kKivResult_BadArgument, {4, 1, 0}},
    {"OnlyLayoutOffered", {4, 1, 0}, kivhost::OnlyLayout(0), kKivResult_OK, {0, 4, 1}},
    {"NoOfferRefuses", {}, nullptr, kKivResult_BadArgument, {}},
    {"ChoiceOutsideTheOffersOverwritesTheFirst", {2, 0},
     [](std::span<const std::int32_t>, const ImageInfo&) -> std::optional<std::int32_t> { return 7; },
     kKivResult_OK, {7, 0}},
};

INSTANTIATE_TEST_SUITE_P(Choices, ReceptorChoiceTest, ::testing::ValuesIn(kChoiceCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(ReceptorTest, ReadsNoMoreThanEightOffers) {
  Ref<ImageReceptor> receptor = ImageReceptor::Create();
  std::vector<std::int32_t> offers = {3, 1, 2, 0, 4, 6, 7, 0};
  ImageInfo info = SmallInfo();
  std::int32_t outValue = 0;
  EXPECT_EQ(receptor->BeginImage(1000, offers.data(), 1, &info, 0, 1, &outValue), kKivResult_OK);
  EXPECT_EQ(receptor->OfferCount(), 1000);
  EXPECT_EQ(receptor->Offers(), offers);
}

TEST(ReceptorTest, RecordsTheConstantsAndBothDescriptions) {
  Ref<ImageReceptor> receptor = ImageReceptor::Create();
  std::int32_t offers[8] = {2, 0};
  ImageInfo info = SmallInfo();
  std::int32_t outValue = 0;
  ASSERT_EQ(receptor->BeginImage(2, offers, 1, &info, 0, 1, &outValue), kKivResult_OK);
  info.rowBytes = 12;
  info.components = 4;
  EXPECT_EQ(receptor->SetImageInfo(&info), kKivResult_OK);
  EXPECT_EQ(receptor->BeginConstants(), (std::array<std::int32_t, 3>{1, 0, 1}));
  EXPECT_EQ(receptor->BeginInfo()->rowBytes, 9);
  ASSERT_TRUE(receptor->Info());
  EXPECT_EQ(receptor->Info()->rowBytes, 12);
  EXPECT_EQ(receptor->Info()->components, 4);
}

TEST(ReceptorTest, NullArgumentsAreRefused) {
  Ref<ImageReceptor> receptor = ImageReceptor::Create();
  std::int32_t offers[8] = {0};
  ImageInfo info = SmallInfo();
  EXPECT_EQ(receptor->BeginImage(1, nullptr, 1, &info, 0, 1, nullptr), kKivResult_BadArgument);
  EXPECT_EQ(receptor->BeginImage(1, offers, 1, nullptr, 0, 1, nullptr), kKivResult_BadArgument);
  EXPECT_EQ(receptor->SetImageInfo(nullptr), kKivResult_BadArgument);
  EXPECT_FALSE(receptor->ChosenLayout());
  EXPECT_FALSE(receptor->Info());
}

TEST(ReceptorTest, CopiesEveryRow) {
  Ref<ImageReceptor> receptor = ImageReceptor::Create();
  std::vector<std::uint8_t> image = {1, 2, 3, 4, 5, 6};
  EXPECT_EQ(receptor->PutRow(0, image.data(), 3), kKivResult_OK);
  EXPECT_EQ(receptor->PutRow(1, image.data() + 3, 3), kKivResult_OK);
  EXPECT_EQ(receptor->PutRow(2, nullptr, 3), kKivResult_OK);
  image.assign(6, 0);  // the copies do not follow the reader's buffer
  ASSERT_EQ(receptor->Rows().size(), 3u);
  EXPECT_EQ(receptor->Rows()[0].bytes, (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(receptor->Rows()[1].bytes, (std::vector<std::uint8_t>{4, 5, 6}));
  EXPECT_EQ(receptor->Rows()[1].row, 1);
  EXPECT_TRUE(receptor->Rows()[2].nullAddress);
  EXPECT_TRUE(receptor->Rows()[2].bytes.empty());
  EXPECT_EQ(receptor->Rows()[2].length, 3);
}

TEST(ReceptorTest, PutRowAnswersTheScriptedResultAtItsRow) {
  Ref<ImageReceptor> receptor = ImageReceptor::Create();
  receptor->FailPutRowAt(5, kKivResult_Incomplete);
  const std::uint8_t row[2] = {9, 9};
  for (std::int32_t y = 0; y < 8; ++y) {
    EXPECT_EQ(receptor->PutRow(y, row, 2), y == 5 ? kKivResult_Incomplete : kKivResult_OK) << "row " << y;
  }
  EXPECT_EQ(receptor->CountOf(ReceptorCall::PutRow), 8u);
}

struct FinishCase {
  const char* name;
  std::vector<KivResult> script;
  std::vector<KivResult> answers;  // of consecutive Finish calls
};

class ReceptorFinishTest : public ::testing::TestWithParam<FinishCase> {};

TEST_P(ReceptorFinishTest, AnswersTheScriptThenZero) {
  Ref<ImageReceptor> receptor = ImageReceptor::Create();
  receptor->SetFinishResults(GetParam().script);
  std::vector<KivResult> answers;
  for (std::size_t i = 0; i < GetParam().answers.size(); ++i) answers.push_back(receptor->Finish());
  EXPECT_EQ(answers, GetParam().answers);
  EXPECT_EQ(receptor->CountOf(ReceptorCall::Finish), GetParam().answers.size());
}

const FinishCase kFinishCases[] = {
    {"Unscripted", {}, {0, 0}},
    {"IncompleteTwiceThenZero", {kKivResult_Incomplete, kKivResult_Incomplete, 0},
     {kKivResult_Incomplete, kKivResult_Incomplete, 0, 0}},
    {"Failure", {kKivResult_CorruptFile}, {kKivResult_CorruptFile, 0}},
};

INSTANTIATE_TEST_SUITE_P(Scripts, ReceptorFinishTest, ::testing::ValuesIn(kFinishCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(ReceptorTest, ScriptedBeginImageFailureChoosesNothing) {
  Ref<ImageReceptor> receptor = ImageReceptor::Create();
  receptor->FailBeginImage(kKivResult_OutOfMemory);
  receptor->FailSetImageInfo(kKivResult_ReadFailed);
  std::int32_t offers[8] = {2, 0};
  ImageInfo info = SmallInfo();
  EXPECT_EQ(receptor->BeginImage(2, offers, 1, &info, 0, 1, nullptr), kKivResult_OutOfMemory);
  EXPECT_EQ(offers[0], 2);
  EXPECT_FALSE(receptor->ChosenLayout());
  EXPECT_EQ(receptor->SetImageInfo(&info), kKivResult_ReadFailed);
  EXPECT_EQ(receptor->Calls(), (std::vector<ReceptorCall>{ReceptorCall::BeginImage, ReceptorCall::SetImageInfo}));
}

}  // namespace
