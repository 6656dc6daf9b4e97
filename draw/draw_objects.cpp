#include "draw/draw_objects.h"

namespace mervox {

Brush MakeSolidBrush(uint32_t colour) {
    Brush b;
    b.colour = colour & 0x00FFFFFFu;
    return b;
}

Pen MakeSolidPen(int width, uint32_t colour) {
    Pen p;
    p.colour = colour & 0x00FFFFFFu;
    p.width = width < 1 ? 1 : width;
    return p;
}

Pen MakeNullPen() {
    Pen p;
    p.isNull = true;
    return p;
}

const Brush* StockNullBrush() {
    static const Brush nullBrush{0, true};
    return &nullBrush;
}

}  // namespace mervox
