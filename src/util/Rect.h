#pragma once

/// Integer rectangle: top-left corner and size (blits, sprite source rectangles, the view).
struct CRect
{
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};

/// Float rectangle: top-left corner and size, pixels of the 1024 x 768 virtual screen.
/// Every quad record shares it: what a camera takes and gives (render/Camera.h), where a
/// note was stuck and what the wall draws (wall/), so a quad's place is copied whole.
struct CQuadRect
{
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
};

/// Integer point (hit-test points, cell coordinates).
struct CPoint
{
    int x = 0;
    int y = 0;
};
