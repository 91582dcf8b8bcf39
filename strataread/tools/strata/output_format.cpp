#include "output_format.h"

#include <algorithm>
#include <cctype>

#include "pam_writer.h"
#if STRATA_HAVE_PNG
#include "png_writer.h"
#endif

namespace strata {
namespace {

bool EndsWith(const std::string& path, const char* extension) {
  const std::string wanted(extension);
  if (path.size() < wanted.size()) return false;
  return std::equal(wanted.begin(), wanted.end(), path.end() - static_cast<std::ptrdiff_t>(wanted.size()),
                    [](char a, char b) {
                      return a == std::tolower(static_cast<unsigned char>(b));
                    });
}

}  // namespace

bool PngAvailable() { return STRATA_HAVE_PNG != 0; }

std::optional<OutputFormat> FormatForPath(const std::string& path) {
  if (EndsWith(path, ".pam")) return OutputFormat::Pam;
  if (EndsWith(path, ".png") && PngAvailable()) return OutputFormat::Png;
  return std::nullopt;
}

const char* DefaultExtension() { return PngAvailable() ? ".png" : ".pam"; }

OutputFormat DefaultFormat() { return PngAvailable() ? OutputFormat::Png : OutputFormat::Pam; }

bool FormatCanHold(OutputFormat format, std::int32_t layout, const ImageInfo& info) {
#if STRATA_HAVE_PNG
  if (format == OutputFormat::Png) return PngCanHold(layout, info);
#endif
  (void)layout;
  (void)info;
  return format == OutputFormat::Pam;
}

std::optional<std::vector<std::uint8_t>> Encode(OutputFormat format, const DeliveredImage& image, std::string* why) {
#if STRATA_HAVE_PNG
  if (format == OutputFormat::Png) return EncodePng(image, why);
#endif
  if (format == OutputFormat::Pam) return EncodePam(image, why);
  *why = "this build writes no such format";
  return std::nullopt;
}

}  // namespace strata
