#include "app/main_layout.h"

#include "grid/twips.h"

#include <cmath>

namespace tarvela {

namespace {

double tw(int pixels) {
    return grid::pixelsToTwips(pixels);
}

int px(double twips) {
    return grid::nearestPixel(twips);
}

QRect place(double leftTw, double topTw, QSize size) {
    return {QPoint(px(leftTw), px(topTw)), size};
}

} // namespace

MainLayout computeMainLayout(const MainLayoutInput& in) {
    MainLayout out;
    const double width = tw(in.window.width());
    const double height = tw(in.window.height());

    out.makerLogo = place(width - tw(in.makerLogo.width()) - 900,
                          height - tw(in.makerLogo.height()) - 1500, in.makerLogo);

    // The centre point, rounded to whole twips.
    const double x = std::round(width / 2);
    const double y = std::round((height - 1000) / 2);
    const double selW = tw(in.selection.width());
    const double selH = tw(in.selection.height());
    out.selection = place(x - selW / 2, y - selH / 2, in.selection);

    const auto& b = in.buttons;
    out.buttons[0] =
        place(x - (selW / 2 + tw(b[0].width())), y - tw(b[0].height()) / 2 - 700, b[0]);
    out.buttons[1] = place(x + selW / 2, y - tw(b[1].height()) / 2 - 1200, b[1]);
    out.buttons[2] = place(x - selW / 2 + 500, y + selH / 2, b[2]);
    out.lineWidth = in.window.width();
    return out;
}

} // namespace tarvela
