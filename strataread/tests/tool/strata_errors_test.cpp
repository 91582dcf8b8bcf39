// strata's failures: exit status 1, one line "strata: SUBJECT: what", and
// no output file left behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "psd_builder.h"
#include "strata_runner.h"

namespace {

using strata_test::Outcome;
using strata_test::RunStrata;
using strata_test::ScratchDir;

struct UsageCase {
  const char* name;
  std::vector<std::string> arguments;
  std::string message;  // the line after "strata: usage: "
};

class StrataUsageTest : public ::testing::TestWithParam<UsageCase> {};

TEST_P(StrataUsageTest, OneLineAndStatusOne) {
  const ScratchDir dir(std::string("usage-") + GetParam().name);
  const Outcome outcome = RunStrata(GetParam().arguments, dir.path());
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.errLines, (std::vector<std::string>{"strata: usage: " + GetParam().message}));
  EXPECT_TRUE(dir.Entries().empty());
}

const UsageCase kUsageCases[] = {
    {"NoCommand", {}, "no command given (see strata --help)"},
    {"UnknownCommand", {"convert", "a.psd"}, "unknown command convert (see strata --help)"},
    {"NoFile", {"info"}, "no FILE given (see strata --help)"},
    {"TwoFiles", {"info", "a.psd", "b.psd"}, "more than one FILE given"},
    {"NoOutput", {"import", "a.psd"}, "-o is missing (see strata --help)"},
    {"OutputWithoutValue", {"import", "a.psd", "-o"}, "-o needs a value"},
    {"InfoWithOutput", {"info", "a.psd", "-o", "x.png"}, "info writes to standard output and takes no -o"},
    {"LayerNotANumber", {"import", "a.psd", "-o", "x.png", "--layer", "2b"}, "--layer wants a layer index, not 2b"},
    {"UnknownLayout",
     {"import", "a.psd", "-o", "x.png", "--layout", "hsv"},
     "unknown layout hsv (rgb, rgba, indexed, indexed-plus, cmyk, rgb48, bitmap)"},
    {"LayerOptionOfLayers", {"layers", "a.psd", "-o", "out", "--layer", "1"}, "unknown option --layer (see strata --help)"},
    {"UnknownOption", {"info", "a.psd", "--verbose"}, "unknown option --verbose (see strata --help)"},
};

INSTANTIATE_TEST_SUITE_P(Arguments, StrataUsageTest, ::testing::ValuesIn(kUsageCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(StrataTest, HelpGoesToStandardOutput) {
  const ScratchDir dir("help");
  const Outcome outcome = RunStrata({"--help"}, dir.path());
  EXPECT_EQ(outcome.status, 0);
  EXPECT_NE(outcome.out.find("strata import FILE -o OUT"), std::string::npos);
  EXPECT_TRUE(outcome.errLines.empty());
}

TEST(StrataTest, PluginThatCannotBeLoaded) {
  const ScratchDir dir("no-plugin");
  dir.Write("in.psd", psdbuild::Build(psdbuild::Document{}));
  const std::string plugin = dir.File("missing-plugin.so");
  const Outcome outcome = RunStrata({"import", dir.File("in.psd"), "-o", dir.File("out.png"), "--plugin", plugin},
                                    dir.path());
  EXPECT_EQ(outcome.status, 1);
  ASSERT_EQ(outcome.errLines.size(), 1u);
  EXPECT_EQ(outcome.errLines[0].rfind("strata: " + plugin + ": cannot load the plug-in: ", 0), 0u)
      << outcome.errLines[0];
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"in.psd"}));
}

TEST(StrataTest, OutputFormatUnknown) {
  const ScratchDir dir("format");
  dir.Write("in.psd", psdbuild::Build(psdbuild::Document{}));
  const Outcome outcome = RunStrata({"import", dir.File("in.psd"), "-o", dir.File("out.bmp")}, dir.path());
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.errLines,
            (std::vector<std::string>{"strata: " + dir.File("out.bmp") + ": unknown output format (use .png or .pam)"}));
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"in.psd"}));
}

// Documents the reader refuses, and requests it cannot meet.
psdbuild::Document Rgb2x2() {
  psdbuild::Document document;
  document.width = 2;
  document.height = 2;
  document.merged = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}};
  return document;
}

std::vector<std::uint8_t> Rgb2x2Bytes() { return psdbuild::Build(Rgb2x2()); }

// Long enough for a whole header, but not one.
std::vector<std::uint8_t> NotADocument() {
  std::vector<std::uint8_t> bytes = {'G', 'I', 'F', '8', '9', 'a'};
  bytes.resize(64, 0);
  return bytes;
}

std::vector<std::uint8_t> VersionTwo() {
  psdbuild::Document document = Rgb2x2();
  document.version = 2;
  return psdbuild::Build(document);
}

std::vector<std::uint8_t> LabDocument() {
  psdbuild::Document document = Rgb2x2();
  document.mode = 9;
  return psdbuild::Build(document);
}

std::vector<std::uint8_t> NegativeResourceSize() {
  psdbuild::Document document = Rgb2x2();
  // One block whose data size reads as a negative number.
  document.resourceSection = psdbuild::Bytes().Text("8BIM").U16(1005).U16(0).U32(0x80000000u).Fill(12).Take();
  return psdbuild::Build(document);
}

std::vector<std::uint8_t> OneLayer() {
  psdbuild::Document document = Rgb2x2();
  psdbuild::Layer layer;
  layer.bottom = 2;
  layer.right = 2;
  layer.name = "only";
  layer.channels = {psdbuild::Channel(0, {1, 2, 3, 4}), psdbuild::Channel(1, {1, 2, 3, 4}), psdbuild::Channel(2, {1, 2, 3, 4})};
  document.layers = {layer};
  return psdbuild::Build(document);
}

std::vector<std::uint8_t> Cmyk() {
  psdbuild::Document document = Rgb2x2();
  document.mode = 4;
  document.channels = 4;
  document.merged.push_back({0, 0, 0, 0});
  return psdbuild::Build(document);
}

struct RefusalCase {
  const char* name;
  std::vector<std::uint8_t> (*document)();  // null: the file does not exist
  std::vector<std::string> options;
  std::string output;  // of import
  std::string message;  // after "strata: FILE: "
};

class StrataRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(StrataRefusalTest, NamesTheFileAndTheResult) {
  const RefusalCase& c = GetParam();
  const ScratchDir dir(std::string("refusal-") + c.name);
  if (c.document != nullptr) dir.Write("in.psd", c.document());
  std::vector<std::string> arguments = {"import", dir.File("in.psd"), "-o", dir.File(c.output)};
  arguments.insert(arguments.end(), c.options.begin(), c.options.end());
  const Outcome outcome = RunStrata(arguments, dir.path());
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.errLines, (std::vector<std::string>{"strata: " + dir.File("in.psd") + ": " + c.message}));
  // Nothing written, not even a temporary.
  const std::vector<std::string> left = dir.Entries();
  EXPECT_EQ(left, c.document != nullptr ? std::vector<std::string>{"in.psd"} : std::vector<std::string>{});
}

const RefusalCase kRefusalCases[] = {
    {"Missing", nullptr, {}, "out.png", "kKivResult_ReadFailed (0x80040053)"},
    {"NotADocument", NotADocument, {}, "out.png", "kKivResult_UnsupportedFile (0x800412C3)"},
    {"VersionTwo", VersionTwo, {}, "out.pam", "kKivResult_UnsupportedFile (0x800412C3)"},
    {"LabMode", LabDocument, {}, "out.png", "kKivResult_UnsupportedFile (0x800412C3)"},
    {"NegativeResourceSize", NegativeResourceSize, {}, "out.png", "kKivResult_CorruptFile (0x80040064)"},
    {"LayerBeyondTheLast", OneLayer, {"--layer", "1"}, "out.png",
     "kKivResult_BadArgument (0x80040001): layer 1 (the document has 1 layers)"},
    {"NegativeLayer", OneLayer, {"--layer", "-1"}, "out.png",
     "kKivResult_BadArgument (0x80040001): layer -1 (the document has 1 layers)"},
    {"LayoutNotOffered", Rgb2x2Bytes, {"--layout", "cmyk"}, "out.pam",
     "kKivResult_BadArgument (0x80040001): layout cmyk was not offered; offers: rgb"},
    {"LayoutWithoutPngForm", Cmyk, {"--layout", "cmyk"}, "out.png",
     "a PNG cannot hold cmyk rows of 4 components in 8 bytes; write .pam"},
};

INSTANTIATE_TEST_SUITE_P(Imports, StrataRefusalTest, ::testing::ValuesIn(kRefusalCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(StrataTest, FailedImportLeavesAnEarlierOutputAlone) {
  const ScratchDir dir("keeps-output");
  dir.Write("in.psd", LabDocument());
  dir.Write("out.png", {'o', 'l', 'd'});
  const Outcome outcome = RunStrata({"import", dir.File("in.psd"), "-o", dir.File("out.png")}, dir.path());
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(dir.Read("out.png"), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"in.psd", "out.png"}));
}

TEST(StrataTest, FailedLayersExportLeavesNothing) {
  const ScratchDir dir("layers-fail");
  dir.Write("in.psd", LabDocument());
  const Outcome outcome = RunStrata({"layers", dir.File("in.psd"), "-o", dir.File("out")}, dir.path());
  EXPECT_EQ(outcome.status, 1);
  ASSERT_EQ(outcome.errLines.size(), 1u);
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"in.psd"}));
}

TEST(StrataTest, InfoOfAnUnreadableDocument) {
  const ScratchDir dir("info-fail");
  dir.Write("in.psd", NegativeResourceSize());
  const Outcome outcome = RunStrata({"info", dir.File("in.psd")}, dir.path());
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.errLines,
            (std::vector<std::string>{"strata: " + dir.File("in.psd") + ": kKivResult_CorruptFile (0x80040064)"}));
}

}  // namespace
