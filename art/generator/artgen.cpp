// artgen: draws the program's pictures and writes them into the source tree.
//
//   cmake --build <build> --target artgen
//   <build>/artgen <repository root>
//
// It rewrites art/MAINICON.png, art/expand.bmp, art/collapse.bmp,
// art/shield.bmp, art/clipboard.bmp, art/power.bmp, art/photo.jpg,
// forms/res/findfile.avi and forms/res/mediaplayer/*.png. The output is the
// same on every run; commit it. The info picture needs cjpeg
// (libjpeg-turbo-progs). The build never runs this program.
#include "Pictures.h"
#include "Writers.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

#include <exception>

namespace {

void writeAll(const QDir& root) {
    const QString art = root.filePath(QStringLiteral("art"));
    const QString res = root.filePath(QStringLiteral("forms/res"));
    const QString media = res + QStringLiteral("/mediaplayer");
    if (!QDir(art).exists())
        throw std::runtime_error("no art/ folder under " + root.path().toStdString());
    if (!QDir().mkpath(media)) throw std::runtime_error("cannot create " + media.toStdString());

    writeFile(art + "/MAINICON.png", encodePngRgba(drawMainIcon()));
    writeFile(art + "/expand.bmp", encodeBmp24(drawExpandGlyph()));
    writeFile(art + "/collapse.bmp", encodeBmp24(drawCollapseGlyph()));
    writeFile(art + "/shield.bmp", encodeBmp24(drawShield()));
    writeFile(art + "/clipboard.bmp", encodeBmp24(drawClipboard()));
    writeFile(art + "/power.bmp", encodeBmp24(drawPower()));
    writeFile(art + "/photo.jpg", encodeProgressiveJpeg(drawPhoto(), 90));
    writeFile(res + "/findfile.avi", encodeAvi(drawFindFileFrames(), findFileMicrosecondsPerFrame));

    const struct {
        MediaButton button;
        const char* name;
    } buttons[] = {
        {MediaButton::Play, "play"}, {MediaButton::Pause, "pause"}, {MediaButton::Stop, "stop"}};
    for (const auto& b : buttons) {
        const QString base = media + '/' + QLatin1String(b.name);
        writeFile(base + ".png", encodePngRgba(drawMediaButton(b.button, true)));
        writeFile(base + "-grey.png", encodePngRgba(drawMediaButton(b.button, false)));
    }
}

} // namespace

int main(int argc, char** argv) {
    // Text needs a platform for its fonts; the offscreen one needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: artgen <repository root>\n";
        return 2;
    }
    try {
        writeAll(QDir(QString::fromLocal8Bit(argv[1])));
    } catch (const std::exception& e) {
        err << "artgen: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
