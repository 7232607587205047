// The program's icon, as the desktop menu and the title bar show it.
#include <gtest/gtest.h>

#include <QImage>

#include "app/Main.h"
#include "app/images/Pictures.h"

namespace {

// At every size the menu asks for: a tile of the accent colour with a transparent rim,
// and the white picture on it, centred and kept inside the tile.
TEST(AppIcon, EverySizeIsTheAccentTileWithTheWhitePictureCentredOnIt) {
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    SCOPED_TRACE(size);
    const QImage img = pictures::AppIcon(size, clAccent).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(img.size(), QSize(size, size));

    int accent = 0, rimInk = 0, light = 0;
    int left = size, right = -1, top = size, bottom = -1;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const QColor c = img.pixelColor(x, y);
        const bool rim = x == 0 || y == 0 || x == size - 1 || y == size - 1;
        if (rim && c.alpha() != 0) ++rimInk;
        if (c == clAccent) ++accent;
        // Lines: clearly lighter than the tile (at the small sizes they blend into it).
        if (c.alpha() == 255 && c.lightness() > clAccent.lightness() + 60) {
          ++light;
          left = std::min(left, x), right = std::max(right, x);
          top = std::min(top, y), bottom = std::max(bottom, y);
        }
      }
    }
    EXPECT_EQ(rimInk, 0) << "something drawn outside the tile";
    EXPECT_GT(accent, size * size / 4) << "the tile is not the accent colour";
    // Lines a few pixels long at least, not a speck or a blur.
    ASSERT_GT(light, size) << "the picture does not show";
    const double tolerance = std::max(1.5, size * 0.03);
    EXPECT_NEAR((left + right) / 2.0, (size - 1) / 2.0, tolerance);
    EXPECT_NEAR((top + bottom) / 2.0, (size - 1) / 2.0, tolerance);
    // The picture fills the tile's width, not a thumbnail inside it.
    EXPECT_GT(right - left + 1, size / 3);
  }
}

}  // namespace
