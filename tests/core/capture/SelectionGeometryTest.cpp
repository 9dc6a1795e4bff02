#include "core/capture/SelectionGeometry.h"
#include "core/capture/TextEditorPlacement.h"

#include <gtest/gtest.h>

TEST(SelectionGeometry, SizeLabelPlacement)
{
    // A label text of 48 × 14 points makes a pill of 60 × 20. The selection, the view's width, the pill.
    const std::tuple<const char*, QRectF, qreal, QRectF> cases[] = {
        {"below, centred", {100, 600, 300, 100}, 1440, {220, 708, 60, 20}},
        {"above when the bottom edge is 20 points up", {100, 780, 300, 100}, 1440, {220, 752, 60, 20}},
        {"below when it just fits", {100, 768, 300, 100}, 1440, {220, 876, 60, 20}},
        {"4 points inside the right edge", {1400, 560, 40, 40}, 1440, {1376, 608, 60, 20}},
        {"narrow view: pinned 4 points from the left", {0, 560, 40, 40}, 50, {4, 608, 60, 20}},
        {"whole-height selection keeps it on screen", {100, 0, 300, 900}, 1440, {220, 4, 60, 20}},
    };
    for (const auto& [name, selection, viewWidth, pill] : cases)
        EXPECT_EQ(SelectionGeometry::labelPillRect(selection, {48, 14}, {viewWidth, 900}), pill) << name;
    EXPECT_EQ(SelectionGeometry::sizeLabelText({0, 0, 239.9, 96.5}), QStringLiteral("239 × 96"));
}

TEST(TextEditorPlacement, KeepsTheWindowInsideTheAvailableArea)
{
    // A 500 × 300 window: the pointer, the available area, the window's frame.
    const std::tuple<const char*, QPointF, QRectF, QRectF> cases[] = {
        {"bottom-left corner", {0, 875}, {0, 0, 1440, 875}, {20, 555, 500, 300}},
        {"top-right corner", {1440, 0}, {0, 0, 1440, 875}, {920, 20, 500, 300}},
        {"centred 20 points below the pointer", {700, 300}, {0, 0, 1440, 875}, {450, 320, 500, 300}},
        {"too narrow: the right edge wins", {200, 500}, {0, 0, 510, 900}, {-10, 520, 500, 300}},
        {"too short: the top edge wins", {700, 100}, {0, 0, 1440, 200}, {450, 20, 500, 300}},
        {"area away from the origin", {1930, 1040}, {1920, 56, 1280, 1024}, {1940, 760, 500, 300}},
    };
    for (const auto& [name, pointer, available, frame] : cases)
        EXPECT_EQ(TextEditorPlacement::frameNextToPointer(pointer, {500, 300}, available), frame) << name;
}
