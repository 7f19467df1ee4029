// JPEG decoding through libjpeg, its errors turned into a false result.
#include "calibration/vcl/jpeg_image.h"

#include <csetjmp>
#include <cstdio>

extern "C" {
#include <jpeglib.h>
}

namespace vcl {

namespace {

constexpr int kMaxSide = 2048;  // our pictures are small; a larger claim is damage

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr info) {
  auto* manager = reinterpret_cast<ErrorManager*>(info->err);
  (*info->err->format_message)(info, manager->message);
  std::longjmp(manager->jump, 1);
}

void OnMessage(j_common_ptr, int) {}  // warnings are not shown anywhere

// Everything with a destructor lives outside the function that calls setjmp.
bool Decode(jpeg_decompress_struct& info, ErrorManager& errors, const std::uint8_t* data,
            std::size_t size, int& width, int& height, std::vector<std::uint8_t>& bgr,
            int& stride) {
  if (setjmp(errors.jump)) return false;
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return false;
  if (info.image_width == 0 || info.image_height == 0 || info.image_width > kMaxSide ||
      info.image_height > kMaxSide) {
    std::snprintf(errors.message, sizeof errors.message, "bad size");
    return false;
  }
  info.out_color_space = JCS_EXT_BGR;
  jpeg_start_decompress(&info);
  width = static_cast<int>(info.output_width);
  height = static_cast<int>(info.output_height);
  stride = (width * 3 + 3) & ~3;
  bgr.assign(static_cast<std::size_t>(stride) * height, 0);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = bgr.data() + static_cast<std::size_t>(info.output_scanline) * stride;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  return true;
}

}  // namespace

bool DecodeJpeg(const std::uint8_t* data, std::size_t size, PixelImage& image, std::string* error) {
  if (!data || size == 0) {
    if (error) *error = "empty";
    return false;
  }
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnError;
  errors.base.emit_message = OnMessage;
  int width = 0, height = 0, stride = 0;
  std::vector<std::uint8_t> bgr;
  const bool ok = Decode(info, errors, data, size, width, height, bgr, stride);
  jpeg_destroy_decompress(&info);
  if (!ok) {
    if (error) *error = errors.message;
    return false;
  }
  image.width = width;
  image.height = height;
  image.bgr = std::move(bgr);
  return true;
}

}  // namespace vcl
