#include "render/Video.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL.h>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

#include "util/Log.h"

namespace
{
// The video messages ("Video initialization failed: ", "Video query failed: ", "Video mode
// set failed: ", each with SDL's reason) are the game's own wording; keep them verbatim.
[[noreturn]] void FailVideo(const char* what)
{
    tarn::Log(tarn::ELogStream::Error, std::string(what) + SDL_GetError());
    SDL_Quit();
    // The game cannot run without video: a non-zero status tells the caller so.
    std::exit(EXIT_FAILURE);
}
} // namespace

CRect ComputeViewport(int width, int height)
{
    // The window the game opens is the virtual screen itself. The general rule below would
    // give it 767 rows (1024 / 1.3333334 truncates), so it is not used for that size.
    if (width == kVirtualScreenWidth && height == kVirtualScreenHeight)
        return CRect{0, 0, width, height};
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    const float fourThirds = 4.0f / 3.0f;
    const float ratio = h / w;
    CRect view;
    if (ratio <= fourThirds)
    {
        view.w = width;
        view.h = static_cast<int>(w / fourThirds);
        view.x = 0;
        view.y = static_cast<int>((h - static_cast<float>(view.h)) * 0.5f);
    }
    else
    {
        view.h = height;
        view.w = static_cast<int>(h * fourThirds);
        view.y = 0;
        view.x = static_cast<int>((w - static_cast<float>(view.w)) * 0.5f);
    }
    return view;
}

bool IsInvisibleVideoDriver(const char* driver, const char* requested)
{
    if (std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0)
        return false;
    // SDL 2 reads the variable as a comma-separated list of names, in any case.
    const size_t length = std::strlen(driver);
    for (const char* name = requested; name && *name;)
    {
        const char* end = std::strchr(name, ',');
        const size_t nameLength = end ? static_cast<size_t>(end - name) : std::strlen(name);
        bool same = nameLength == length;
        for (size_t i = 0; same && i < length; ++i)
            same = std::tolower(static_cast<unsigned char>(name[i])) == driver[i];
        if (same)
            return false;
        name = end ? end + 1 : nullptr;
    }
    return true;
}

bool InitVideo(int width, int height, bool fullscreen, const char* caption)
{
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE) < 0)
        FailVideo("Video initialization failed: ");

    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    if (!info)
        FailVideo("Video query failed: ");
    const int bitsPerPixel = info->vfmt->BitsPerPixel;

    // Without a display, SDL 1.2 on SDL 2 (sdl12-compat) quietly falls back to a driver that
    // shows nothing, and the game would run unseen until killed. That is a window that cannot
    // be had, as on the classic library.
    char driver[32] = "";
    if (SDL_VideoDriverName(driver, sizeof driver) &&
        IsInvisibleVideoDriver(driver, std::getenv("SDL_VIDEODRIVER")))
    {
        tarn::Log(tarn::ELogStream::Error,
                  std::string("Video mode set failed: no display; SDL chose its \"") + driver +
                      "\" driver, which shows nothing");
        SDL_Quit();
        return false;
    }

    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);

    const Uint32 flags = fullscreen ? (SDL_OPENGL | SDL_FULLSCREEN) : SDL_OPENGL;
    if (!SDL_SetVideoMode(width, height, bitsPerPixel, flags))
    {
        tarn::Log(tarn::ELogStream::Error, std::string("Video mode set failed: ") + SDL_GetError());
        SDL_Quit();
        return false;
    }

    SDL_WM_SetCaption(caption, nullptr);

    const CRect view = ComputeViewport(width, height);
    glViewport(view.x, view.y, view.w, view.h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, kVirtualScreenWidth, kVirtualScreenHeight, 0);
    return true;
}

void ClearScreen()
{
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void SwapScreen()
{
    SDL_GL_SwapBuffers();
}
