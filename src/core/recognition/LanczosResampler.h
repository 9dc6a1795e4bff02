#pragma once

class QImage;

// Resizes 8-bit grayscale images with a Lanczos-3 filter, which keeps stroke edges sharper than Qt's bilinear
// smooth scaling. On screen text the recogniser nevertheless read bilinear enlargements slightly better, so
// this is one of the filters ScreenTextPreparer can be measured with, not its default.
class LanczosResampler {
public:
    // The image scaled by factor (> 0) in both directions, as QImage::Format_Grayscale8.
    static QImage scaled(const QImage& grayscale, double factor);
};
