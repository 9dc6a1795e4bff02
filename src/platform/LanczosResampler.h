#pragma once

class QImage;

// Resizes 8-bit grayscale images with a Lanczos-3 filter. Screen text enlarged this way keeps sharp stroke
// edges; Qt's smooth scaling is bilinear and blurs them, nearest-neighbour scaling makes them ragged.
class LanczosResampler {
public:
    // The image scaled by factor (> 0) in both directions, as QImage::Format_Grayscale8.
    static QImage scaled(const QImage& grayscale, double factor);
};
