// The 24 colours: their platform values and the names log lines use.
#include "state.h"

namespace sktch {

const ColorEntry color_table[24] = {
    {RGB(0, 0, 0), "black"},
    {RGB(255, 255, 255), "white"},
    {RGB(255, 0, 0), "red"},
    {RGB(0, 255, 0), "green"},
    {RGB(0, 0, 255), "blue"},
    {RGB(255, 255, 0), "yellow"},
    {RGB(255, 0, 255), "magenta"},
    {RGB(0, 255, 255), "cyan"},
    {RGB(153, 0, 204), "purple"},
    {RGB(0, 51, 153), "navy blue"},
    {RGB(153, 102, 153), "dusty plum"},
    {RGB(153, 255, 255), "ice blue"},
    {RGB(153, 255, 204), "turquoise"},
    {RGB(255, 102, 0), "orange"},
    {RGB(153, 102, 51), "brown"},
    {RGB(255, 153, 204), "pink"},
    {RGB(255, 255, 153), "chalk"},
    {RGB(204, 153, 51), "gold"},
    {RGB(255, 153, 102), "peach"},
    {RGB(0, 102, 51), "forest green"},
    {RGB(51, 204, 153), "sea green"},
    {RGB(153, 153, 51), "olive"},
    {RGB(128, 128, 128), "50% gray"},
    {RGB(204, 204, 204), "20% gray"},
};

int check_color(int color) {
    if (color >= 0 && color <= 23) return color;
    SKTCH_printf("Illegal color %d; using RED.\n", color);
    return RED;
}

}  // namespace sktch
