#include "forms/JpegImage.h"

#include "forms/Exceptions.h"

#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

namespace {
// Colours left to a picture on a palette display: the rest of 256 stay with
// the window system.
constexpr int paletteColours = 236;
// Beyond this a stream is taken for corrupt rather than for a picture.
constexpr unsigned long long maxPixels = 100'000'000ULL;

// libjpeg reports a fatal error through error_exit, which must not return:
// ours jumps back into decompress() instead of ending the process.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void onError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// A warning means corrupt data (bytes missing or out of place). libjpeg would
// make up the missing part of the picture; we refuse the stream instead.
void onMessage(j_common_ptr cinfo, int level) {
    if (level < 0) onError(cinfo);
}

// Decodes into `out`. Between setjmp and a jump back no object with a
// destructor lives in this frame (the state is the caller's), so the jump
// skips nothing that needs cleaning up. Returns false with err.message set.
bool decompress(jpeg_decompress_struct& cinfo, ErrorManager& err, const QByteArray& stream,
                bool quantize, QImage& out) {
    if (setjmp(err.jump)) return false;
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(stream.constData()),
                 static_cast<unsigned long>(stream.size()));
    jpeg_read_header(&cinfo, TRUE);
    if (static_cast<unsigned long long>(cinfo.image_width) * cinfo.image_height > maxPixels) {
        std::snprintf(err.message, sizeof err.message, "Picture too large (%u x %u)",
                      cinfo.image_width, cinfo.image_height);
        return false;
    }
    cinfo.out_color_space = JCS_RGB;
    cinfo.scale_num = cinfo.scale_denom = 1;
    if (quantize) {
        cinfo.quantize_colors = TRUE;
        cinfo.desired_number_of_colors = paletteColours;
    }
    jpeg_start_decompress(&cinfo);
    const int width = static_cast<int>(cinfo.output_width);
    const int height = static_cast<int>(cinfo.output_height);
    out = QImage(width, height, quantize ? QImage::Format_Indexed8 : QImage::Format_RGB888);
    if (out.isNull()) {
        std::snprintf(err.message, sizeof err.message, "Out of memory for a %d x %d picture", width,
                      height);
        return false;
    }
    if (quantize) {
        out.setColorCount(cinfo.actual_number_of_colors);
        for (int i = 0; i < cinfo.actual_number_of_colors; ++i)
            out.setColor(i, qRgb(cinfo.colormap[0][i], cinfo.colormap[1][i], cinfo.colormap[2][i]));
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out.scanLine(static_cast<int>(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}
} // namespace

bool JpegImage::IsJpeg(const QByteArray& stream) {
    return stream.startsWith("\xFF\xD8");
}

QImage JpegImage::Decode(const QByteArray& stream, int displayDepth) {
    ErrorManager err{};
    jpeg_decompress_struct cinfo{};
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onError;
    err.pub.emit_message = onMessage;
    QImage out;
    const bool ok = decompress(cinfo, err, stream, displayDepth > 0 && displayDepth <= 8, out);
    jpeg_destroy_decompress(&cinfo);
    if (!ok)
        throw EInvalidGraphic(QStringLiteral("Cannot decode the JPEG picture: %1")
                                  .arg(QString::fromLocal8Bit(err.message)));
    return out;
}

const QImage& JpegImage::Bitmap(int displayDepth) {
    if (decodes_ == 0) {
        ++decodes_;
        bitmap_ = Decode(stream_, displayDepth);
    }
    return bitmap_;
}
