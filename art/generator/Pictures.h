#pragma once
// The program's pictures, each drawn from scratch with QPainter. Every function
// is deterministic: the same Qt build and fonts give the same pixels.

#include <QImage>

#include <vector>

// The program icon: 128 x 128, ARGB with a transparent ground.
QImage drawMainIcon();

// The expand (chevrons down) and collapse (chevrons up) button glyphs, 17 x 18
// on pure white. Outside rows 4..14 the two are the same picture.
QImage drawExpandGlyph();
QImage drawCollapseGlyph();

// Menu pictures on their transparent-colour ground (the bottom-left pixel).
QImage drawShield();    // 37 x 46
QImage drawClipboard(); // 128 x 128
QImage drawPower();     // 26 x 26

// The info picture placeholder, 90 x 110, opaque.
QImage drawPhoto();

// The search animation: 16 frames of 16 x 16 on a flat background colour
// (the top-left pixel of the first frame), which the drawing never uses.
std::vector<QImage> drawFindFileFrames();
inline constexpr int findFileMicrosecondsPerFrame = 100000;

// The button bar's pictures, ARGB, at most 21 x 16.
enum class MediaButton { Play, Pause, Stop };
QImage drawMediaButton(MediaButton button, bool enabled);
