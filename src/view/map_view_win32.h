// Puts the composed map view on the screen with GDI+.
#pragma once

#include <windows.h>

#include "view/map_view.h"

// Redraws the whole client area, whatever region was invalidated, with the
// view scrolled to the given first column and row, and the preview of a
// shape being dragged over it.
void PaintMapView(HWND window, HDC deviceContext, const MapDocument& document,
                  int horizontalPosition, int verticalPosition, const ShapeOverlay& overlay = {});
