#include "commands.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>
#include <utility>

#include "delivered_image.h"
#include "info_json.h"
#include "kivhost/import.h"
#include "kivhost/receptor.h"
#include "layer_file_name.h"
#include "layout_names.h"
#include "output_file.h"
#include "output_format.h"
#include "result_names.h"

namespace strata {
namespace {

constexpr char kLayerNameKey[] = "kKivSelectorKey_layerName";

int Fail(Console& console, const std::string& subject, const std::string& what) {
  console.err << "strata: " << subject << ": " << what << "\n";
  return 1;
}

int FailResult(Console& console, const std::string& subject, KivResult result, const std::string& more = "") {
  return Fail(console, subject, DescribeResult(result) + (more.empty() ? "" : ": " + more));
}

// Loads the plug-in and sets the source; on failure the message is out.
std::unique_ptr<kivhost::Importer> OpenDocument(const Arguments& arguments, Console& console) {
  std::unique_ptr<kivhost::Importer> importer;
  std::string detail;
  const KivResult opened = kivhost::Importer::Open(arguments.plugin, &importer, &detail);
  if (!detail.empty()) {
    Fail(console, arguments.plugin, "cannot load the plug-in: " + detail);
    return nullptr;
  }
  if (opened != kKivResult_OK) {
    FailResult(console, arguments.plugin, opened, detail);
    return nullptr;
  }
  if (const KivResult set = importer->SetSourceFile(arguments.file); set != kKivResult_OK) {
    FailResult(console, arguments.file, set);
    return nullptr;
  }
  return importer;
}

// The layout choice of an import to `format`: the asked layout when
// offered, else the first offer the format can hold.
kivhost::LayoutChoice ChoiceFor(OutputFormat format, std::optional<std::int32_t> asked) {
  if (asked) return kivhost::OnlyLayout(*asked);
  return [format](std::span<const std::int32_t> offers, const ImageInfo& info) -> std::optional<std::int32_t> {
    for (const std::int32_t offer : offers) {
      if (FormatCanHold(format, offer, info)) return offer;
    }
    return std::nullopt;
  };
}

std::string ExtensionOf(OutputFormat format) { return format == OutputFormat::Png ? ".png" : ".pam"; }

// Why the receptor refused every offer.
std::string RefusalText(const kivhost::ImageReceptor& receptor, OutputFormat format,
                        std::optional<std::int32_t> asked) {
  const std::string offers = LayoutList(receptor.Offers());
  if (asked) return "layout " + LayoutName(*asked) + " was not offered; offers: " + offers;
  return "no offered layout fits a " + ExtensionOf(format) + " file; offers: " + offers;
}

struct Encoded {
  std::vector<std::uint8_t> bytes;
  bool empty = false;
  bool unsupported = false;  // the reader refused it as unsupported
};

// How a read treats an image without pixels and one the reader refuses as
// unsupported: as failures, or (exporting layers) as images to pass over.
enum class Leftovers { Fail, PassOver };

// Reads the current selection and encodes it. On failure the message is
// out (with subject as the file named) and nullopt comes back.
std::optional<Encoded> ReadEncoded(kivhost::Importer& importer, OutputFormat format,
                                   std::optional<std::int32_t> asked, Leftovers leftovers,
                                   const std::string& subject, Console& console) {
  const bool passOver = leftovers == Leftovers::PassOver;
  kivhost::Ref<kivhost::ImageReceptor> receptor = kivhost::ImageReceptor::Create();
  receptor->SetLayoutChoice(ChoiceFor(format, asked));
  const KivResult read = importer.ReadImage(*receptor);
  if (read == kKivResult_UnsupportedFile && passOver) return Encoded{{}, false, true};
  if (read != kKivResult_OK) {
    const bool refused = receptor->BeginInfo().has_value() && !receptor->ChosenLayout();
    FailResult(console, subject, read, refused ? RefusalText(*receptor, format, asked) : "");
    return std::nullopt;
  }
  std::string why;
  const std::optional<DeliveredImage> image = AssembleImage(*receptor, &why);
  if (!image) {
    Fail(console, subject, why);
    return std::nullopt;
  }
  if (image->Empty() && passOver) return Encoded{{}, true, false};
  std::optional<std::vector<std::uint8_t>> bytes = Encode(format, *image, &why);
  if (!bytes) {
    Fail(console, subject, why);
    return std::nullopt;
  }
  return Encoded{std::move(*bytes), false, false};
}

std::string LayerName(const kivhost::PropertyList* options) {
  if (options == nullptr) return "";
  const kivhost::PropertyEntry* const name = options->Find(kLayerNameKey);
  return name != nullptr && name->type == kKivType_String ? name->Text() : "";
}

// Files written under temporary names, renamed together at the end or
// removed together on failure.
class PendingFiles {
public:
  ~PendingFiles() {
    for (const auto& file : files_) Discard(file.first);
  }
  bool Add(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string* why) {
    std::string temporary = TemporaryNameFor(path);
    if (!WriteTemporary(temporary, bytes, why)) return false;
    files_.emplace_back(std::move(temporary), path);
    return true;
  }
  bool CommitAll(std::string* why) {
    for (auto& [temporary, path] : files_) {
      if (!Commit(temporary, path, why)) return false;
      temporary.clear();
    }
    files_.clear();
    return true;
  }

private:
  std::vector<std::pair<std::string, std::string>> files_;
};

// One layer of `strata layers` into a pending file.
int ExportLayer(kivhost::Importer& importer, std::int32_t index, std::int32_t count, const Arguments& arguments,
                Console& console, PendingFiles* pending) {
  kivhost::Ref<kivhost::PropertyList> options;
  if (const KivResult got = importer.LayerOptions(index, &options); got != kKivResult_OK) {
    return FailResult(console, arguments.file, got, "layer " + std::to_string(index));
  }
  const std::string name = LayerName(options.get());
  if (console.errIsTerminal) console.err << "strata: layer " << index + 1 << " of " << count << ": " << name << "\n";
  if (const KivResult selected = importer.SelectLayer(index); selected != kKivResult_OK) {
    return FailResult(console, arguments.file, selected, "layer " + std::to_string(index));
  }
  const std::string subject = arguments.file + " layer " + std::to_string(index);
  const OutputFormat format = DefaultFormat();
  const std::optional<Encoded> encoded =
      ReadEncoded(importer, format, std::nullopt, Leftovers::PassOver, subject, console);
  if (!encoded) return 1;
  if (encoded->unsupported) {
    // A layer the plug-in cannot read (a later format's compression, say)
    // is passed over with a note; the others are still exported.
    console.err << "strata: " << subject << ": " << DescribeResult(kKivResult_UnsupportedFile)
                << ": layer passed over\n";
    return 0;
  }
  if (encoded->empty) return 0;
  const std::filesystem::path file =
      std::filesystem::path(arguments.output) / LayerFileName(index, name, ExtensionOf(format));
  std::string why;
  return pending->Add(file.string(), encoded->bytes, &why) ? 0 : Fail(console, arguments.output, why);
}

// The merged image of `strata layers`; then every pending file is renamed.
int ExportMerged(kivhost::Importer& importer, const Arguments& arguments, Console& console, PendingFiles* pending) {
  if (const KivResult selected = importer.SelectMerged(); selected != kKivResult_OK) {
    return FailResult(console, arguments.file, selected);
  }
  const OutputFormat format = DefaultFormat();
  const std::optional<Encoded> merged =
      ReadEncoded(importer, format, std::nullopt, Leftovers::Fail, arguments.file, console);
  if (!merged) return 1;
  const std::filesystem::path file = std::filesystem::path(arguments.output) / ("merged" + ExtensionOf(format));
  std::string why;
  if (!pending->Add(file.string(), merged->bytes, &why) || !pending->CommitAll(&why)) {
    return Fail(console, arguments.output, why);
  }
  return 0;
}

}  // namespace

int Run(const std::vector<std::string>& arguments, Console& console, const std::string& defaultPlugin) {
  std::string why;
  std::optional<Arguments> parsed = ParseArguments(arguments, &why);
  if (!parsed) return Fail(console, "usage", why);
  if (parsed->plugin.empty()) parsed->plugin = defaultPlugin;
  switch (parsed->command) {
    case Command::Help: console.out << UsageText(); return 0;
    case Command::Info: return RunInfo(*parsed, console);
    case Command::Import: return RunImport(*parsed, console);
    case Command::Layers: return RunLayers(*parsed, console);
  }
  return 1;
}

int RunInfo(const Arguments& arguments, Console& console) {
  const std::unique_ptr<kivhost::Importer> importer = OpenDocument(arguments, console);
  if (!importer) return 1;
  DocumentInfo info;
  if (const KivResult got = importer->DocumentOptions(&info.options); got != kKivResult_OK) {
    return FailResult(console, arguments.file, got);
  }
  std::int32_t count = 0;
  if (const KivResult counted = importer->CountLayers(&count); counted != kKivResult_OK) {
    return FailResult(console, arguments.file, counted);
  }
  for (std::int32_t index = 0; index < count; ++index) {
    kivhost::Ref<kivhost::PropertyList> layer;
    if (const KivResult got = importer->LayerOptions(index, &layer); got != kKivResult_OK) {
      return FailResult(console, arguments.file, got, "layer " + std::to_string(index));
    }
    info.layers.push_back(std::move(layer));
  }
  // The merged image's description and offers come with BeginImage; the
  // receptor takes note of them and declines, so no pixel is read.
  kivhost::Ref<kivhost::ImageReceptor> receptor = kivhost::ImageReceptor::Create();
  receptor->SetLayoutChoice(
      [](std::span<const std::int32_t>, const ImageInfo&) -> std::optional<std::int32_t> { return std::nullopt; });
  const KivResult read = importer->ReadImage(*receptor);
  if (!receptor->BeginInfo()) {
    return FailResult(console, arguments.file, read, read == kKivResult_OK ? "the reader described no image" : "");
  }
  info.description = *receptor->BeginInfo();
  info.offers = receptor->Offers();
  info.header = ReadDocumentHeader(arguments.file);
  console.out << InfoJson(info);
  return 0;
}

int RunImport(const Arguments& arguments, Console& console) {
  const std::optional<OutputFormat> format = FormatForPath(arguments.output);
  if (!format) {
    return Fail(console, arguments.output,
                PngAvailable() ? "unknown output format (use .png or .pam)" : "unknown output format (use .pam)");
  }
  const std::unique_ptr<kivhost::Importer> importer = OpenDocument(arguments, console);
  if (!importer) return 1;
  if (arguments.layer) {
    if (const KivResult selected = importer->SelectLayer(*arguments.layer); selected != kKivResult_OK) {
      std::int32_t count = 0;
      const bool counted = importer->CountLayers(&count) == kKivResult_OK;
      return FailResult(console, arguments.file, selected,
                        "layer " + std::to_string(*arguments.layer) +
                            (counted ? " (the document has " + std::to_string(count) + " layers)" : ""));
    }
  }
  const std::optional<Encoded> encoded =
      ReadEncoded(*importer, *format, arguments.layout, Leftovers::Fail, arguments.file, console);
  if (!encoded) return 1;
  std::string why;
  if (!WriteWhole(arguments.output, encoded->bytes, &why)) return Fail(console, arguments.output, why);
  return 0;
}

int RunLayers(const Arguments& arguments, Console& console) {
  const std::unique_ptr<kivhost::Importer> importer = OpenDocument(arguments, console);
  if (!importer) return 1;
  std::int32_t count = 0;
  if (const KivResult counted = importer->CountLayers(&count); counted != kKivResult_OK) {
    return FailResult(console, arguments.file, counted);
  }
  const std::filesystem::path directory(arguments.output);
  std::error_code error;
  const bool created = std::filesystem::create_directories(directory, error);
  if (error) return Fail(console, arguments.output, "cannot create the directory: " + error.message());

  int status = 0;
  {
    PendingFiles pending;
    for (std::int32_t index = 0; index < count && status == 0; ++index) {
      status = ExportLayer(*importer, index, count, arguments, console, &pending);
    }
    if (status == 0) status = ExportMerged(*importer, arguments, console, &pending);
  }
  if (status != 0 && created) std::filesystem::remove(directory, error);  // only when left empty
  return status;
}

}  // namespace strata
