#pragma once
// The image files strata writes, chosen by the output's extension.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "delivered_image.h"

namespace strata {

enum class OutputFormat { Png, Pam };

// Whether this build writes PNG (the native build does, with libpng).
bool PngAvailable();

// ".png" or ".pam", in any case; nullopt for anything else, and for ".png"
// in a build without PNG.
std::optional<OutputFormat> FormatForPath(const std::string& path);
// The extension strata gives files it names itself: ".png" where it can.
const char* DefaultExtension();
OutputFormat DefaultFormat();

// Whether the format can hold rows of the layout, for an image described
// as at BeginImage. PAM holds every layout.
bool FormatCanHold(OutputFormat format, std::int32_t layout, const ImageInfo& info);

std::optional<std::vector<std::uint8_t>> Encode(OutputFormat format, const DeliveredImage& image, std::string* why);

}  // namespace strata
