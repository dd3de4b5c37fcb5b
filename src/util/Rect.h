#pragma once

/// Integer rectangle: top-left corner and size (blits, sprite source rectangles, the view).
struct CRect
{
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};

/// Integer point (hit-test points, cell coordinates).
struct CPoint
{
    int x = 0;
    int y = 0;
};
