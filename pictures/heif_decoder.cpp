// HEIF (HEIC) and AVIF pictures through libheif, which applies the file's
// own turns, mirrors and crop (its "irot", "imir" and "clap" boxes; an EXIF
// orientation inside a HEIF file is not applied again). Pictures of more
// than 8 bits a channel come out of libheif at 8.
#include <libheif/heif.h>

#include <QByteArray>
#include <QColorSpace>
#include <QImage>
#include <QPointF>
#include <memory>

#include "pictures/decoded_rows.h"
#include "pictures/decoder_chatter.h"
#include "pictures/decoders.h"

namespace vesk::pictures {
namespace {

struct ContextFree {
  void operator()(heif_context* c) const { heif_context_free(c); }
};
struct HandleRelease {
  void operator()(heif_image_handle* h) const { heif_image_handle_release(h); }
};
struct ImageRelease {
  void operator()(heif_image* i) const { heif_image_release(i); }
};
struct OptionsFree {
  void operator()(heif_decoding_options* o) const { heif_decoding_options_free(o); }
};
struct NclxFree {
  void operator()(heif_color_profile_nclx* n) const { heif_nclx_color_profile_free(n); }
};

std::string FailureOf(const heif_error& error, const std::string& words,
                      PictureFormat format = PictureFormat::kHeif) {
  if (error.subcode == heif_suberror_No_ftyp_box) {
    return NotThisFormatMessage(format);
  }
  const std::string said = std::string(error.message != nullptr ? error.message : "") +
                           (words.empty() ? "" : "; " + words);
  if (error.code == heif_error_Unsupported_feature ||
      error.code == heif_error_Unsupported_filetype) {
    return "libheif cannot read this picture (" + said + ")";
  }
  return SaysCutShort(said) ? kCutShortMessage : DamagedMessage(said);
}

// The colour space an nclx box names: its primaries, and the sRGB curve for
// every transfer but the linear and pure gamma ones (video's BT.709 curve is
// shown as sRGB by browsers too; HDR curves are beyond 8-bit sRGB).
QColorSpace ColourSpaceOf(const heif_color_profile_nclx& nclx) {
  QColorSpace::TransferFunction curve = QColorSpace::TransferFunction::SRgb;
  float gamma = 0;
  if (nclx.transfer_characteristics == heif_transfer_characteristic_linear) {
    curve = QColorSpace::TransferFunction::Linear;
  } else if (nclx.transfer_characteristics ==
             heif_transfer_characteristic_ITU_R_BT_470_6_System_M) {
    curve = QColorSpace::TransferFunction::Gamma;
    gamma = 2.2f;
  } else if (nclx.transfer_characteristics ==
             heif_transfer_characteristic_ITU_R_BT_470_6_System_B_G) {
    curve = QColorSpace::TransferFunction::Gamma;
    gamma = 2.8f;
  }
  if (nclx.color_primaries == heif_color_primaries_ITU_R_BT_709_5 ||
      nclx.color_primaries == heif_color_primaries_unspecified) {
    return QColorSpace(QColorSpace::Primaries::SRgb, curve, gamma);
  }
  return QColorSpace(QPointF(nclx.color_primary_white_x, nclx.color_primary_white_y),
                     QPointF(nclx.color_primary_red_x, nclx.color_primary_red_y),
                     QPointF(nclx.color_primary_green_x, nclx.color_primary_green_y),
                     QPointF(nclx.color_primary_blue_x, nclx.color_primary_blue_y), curve, gamma);
}

QColorSpace ColourSpaceOf(const heif_image_handle* handle) {
  switch (heif_image_handle_get_color_profile_type(handle)) {
    case heif_color_profile_type_rICC:
    case heif_color_profile_type_prof: {
      QByteArray icc(static_cast<qsizetype>(heif_image_handle_get_raw_color_profile_size(handle)),
                     '\0');
      if (heif_image_handle_get_raw_color_profile(handle, icc.data()).code != heif_error_Ok) break;
      return QColorSpace::fromIccProfile(icc);
    }
    case heif_color_profile_type_nclx: {
      heif_color_profile_nclx* raw = nullptr;
      if (heif_image_handle_get_nclx_color_profile(handle, &raw).code != heif_error_Ok) break;
      const std::unique_ptr<heif_color_profile_nclx, NclxFree> nclx(raw);
      return ColourSpaceOf(*nclx);
    }
    default:
      break;
  }
  return QColorSpace();
}

}  // namespace

Result<Bitmap> ReadWithLibheif(const std::string& path, PictureFormat format) {
  DecoderChatter chatter;
  const std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
  heif_error error = heif_context_read_from_file(context.get(), path.c_str(), nullptr);
  if (error.code != heif_error_Ok) return Failure{FailureOf(error, chatter.Words(), format)};
  heif_image_handle* raw_handle = nullptr;
  error = heif_context_get_primary_image_handle(context.get(), &raw_handle);
  if (error.code != heif_error_Ok) return Failure{FailureOf(error, chatter.Words())};
  const std::unique_ptr<heif_image_handle, HandleRelease> handle(raw_handle);
  // The size as seen, after the file's turns.
  const int width = heif_image_handle_get_width(handle.get());
  const int height = heif_image_handle_get_height(handle.get());
  if (!CheckBitmapSize(width, height).empty()) return Failure{TooLargeMessage(width, height)};

  const std::unique_ptr<heif_decoding_options, OptionsFree> options(heif_decoding_options_alloc());
  options->convert_hdr_to_8bit = 1;
  options->strict_decoding = 1;  // a damaged or cut-off picture is an error, not a guess
  heif_image* raw_image = nullptr;
  error = heif_decode_image(handle.get(), &raw_image, heif_colorspace_RGB,
                            heif_chroma_interleaved_RGBA, options.get());
  if (error.code != heif_error_Ok) return Failure{FailureOf(error, chatter.Words())};
  const std::unique_ptr<heif_image, ImageRelease> image(raw_image);
  int stride = 0;
  const uint8_t* pixels =
      heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
  const int decoded_width = heif_image_get_width(image.get(), heif_channel_interleaved);
  const int decoded_height = heif_image_get_height(image.get(), heif_channel_interleaved);
  if (pixels == nullptr || !CheckBitmapSize(decoded_width, decoded_height).empty()) {
    return Failure{DamagedMessage("libheif gave no picture")};
  }
  // A premultiplied picture is made straight again by Qt's conversion.
  const QImage decoded(pixels, decoded_width, decoded_height, stride,
                       heif_image_handle_is_premultiplied_alpha(handle.get())
                           ? QImage::Format_RGBA8888_Premultiplied
                           : QImage::Format_RGBA8888);
  Bitmap picture(decoded_width, decoded_height);
  CopyDecodedRows(decoded, ColourSpaceOf(handle.get()), picture);
  return picture;
}

}  // namespace vesk::pictures
