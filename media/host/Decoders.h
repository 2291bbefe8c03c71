#pragma once
// Choices among GStreamer's decoders made for this host only.

// MPEG audio (layers 1 to 3) goes to mpg123 rather than libav: both rank
// equal in GStreamer 1.22, where the name decides for libav, whose library
// and its dependencies take some 80 ms to load: the first click's sound would
// wait for them.
void preferLightDecoders();
