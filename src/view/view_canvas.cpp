#include "view/view_canvas.h"

#include <algorithm>

ViewCanvas::ViewCanvas(int w, int h)
    : width(std::max(w, 0)),
      height(std::max(h, 0)),
      pixels(static_cast<size_t>(width) * static_cast<size_t>(height)) {}
