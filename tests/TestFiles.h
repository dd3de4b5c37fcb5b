#pragma once

// Small helpers shared by the test programs: a scratch folder and a one-colour surface.

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "canvas/Surface.h"

/// A fresh folder under /tmp, removed with everything in it when the object goes.
class CTempDir
{
public:
    CTempDir()
    {
        char pattern[] = "/tmp/korvane-test-XXXXXX";
        m_Path = mkdtemp(pattern) ? pattern : "";
    }
    ~CTempDir()
    {
        std::error_code ignored;
        if (!m_Path.empty())
            std::filesystem::remove_all(m_Path, ignored);
    }
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::string& Path() const { return m_Path; }
    std::string operator/(const std::string& name) const { return m_Path + "/" + name; }

private:
    std::string m_Path;
};

/// A canvas-format surface of w x h pixels, all `pixel`.
inline std::unique_ptr<CSurface> FilledSurface(int w, int h, uint32_t pixel)
{
    std::unique_ptr<CSurface> surface = CreateSurface(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            surface->SetPixel(x, y, pixel);
    return surface;
}
