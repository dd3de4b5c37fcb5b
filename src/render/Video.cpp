#include "render/Video.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL.h>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

#include "render/Texture.h"
#include "util/Log.h"

namespace
{
/// The game cannot run without video: says why, shuts SDL down; the caller answers false
/// and the game ends with a non-zero status (on Windows the message box needs main to
/// return, so nothing here ends the process itself). The video messages ("Video
/// initialization failed: ", "Video query failed: ", "Video mode set failed: ", each with
/// SDL's reason) are the game's own wording; keep them verbatim.
bool FailVideo(const char* what)
{
    tarn::Log(tarn::ELogStream::Error, std::string(what) + SDL_GetError());
    SDL_Quit();
    return false;
}

int s_DesktopWidth = 0; ///< The desktop's resolution, read before the first mode is set.
int s_DesktopHeight = 0;
int s_WindowWidth = 0; ///< The size asked of InitVideo for the window.
int s_WindowHeight = 0;
int s_BitsPerPixel = 0;
bool s_FullScreen = false;
bool s_HasScreen = false;
bool s_Lost = false;

/// Sets the window or the full screen at the desktop's own size, and the GL state every
/// frame relies on. Whether the GL context survives is SDL's business (on Windows it does
/// not; both SDL 1.2s on Linux keep it): every cached picture goes up again anyway.
bool SetMode(bool fullscreen)
{
    const int width = fullscreen ? s_DesktopWidth : s_WindowWidth;
    const int height = fullscreen ? s_DesktopHeight : s_WindowHeight;
    const Uint32 flags = fullscreen ? (SDL_OPENGL | SDL_FULLSCREEN) : SDL_OPENGL;
    if (!SDL_SetVideoMode(width, height, s_BitsPerPixel, flags))
        return false;
    s_FullScreen = fullscreen;
    SDL_ShowCursor(fullscreen ? SDL_DISABLE : SDL_ENABLE);

    const CRect view = ComputeViewport(width, height);
    glViewport(view.x, view.y, view.w, view.h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, kVirtualScreenWidth, kVirtualScreenHeight, 0);
    ReloadTextures();
    return true;
}
} // namespace

CRect ComputeViewport(int width, int height)
{
    // The largest 4:3 area that fits, centred: black bars beside a wide screen, above and
    // below a tall one; the virtual screen is never cropped. Compared in integers, so a
    // 4:3 window (1024 x 768 among them) is always the whole window. 0.75 is exact in
    // binary; 1.3333334f is a little over 4/3, so truncation never loses a pixel.
    CRect view;
    if (height * 4 >= width * 3)
    {
        view.w = width;
        view.h = static_cast<int>(static_cast<float>(width) * 0.75f);
        view.x = 0;
        view.y = (height - view.h) / 2;
    }
    else
    {
        view.h = height;
        view.w = static_cast<int>(static_cast<float>(height) * (4.0f / 3.0f));
        view.y = 0;
        view.x = (width - view.w) / 2;
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
    s_WindowWidth = width;
    s_WindowHeight = height;
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE) < 0)
        return FailVideo("Video initialization failed: ");

    // Before the first mode is set, SDL reports the desktop's own mode; afterwards it
    // reports the window's. The full screen uses that size, so the monitor never switches.
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    if (!info)
        return FailVideo("Video query failed: ");
    s_BitsPerPixel = info->vfmt->BitsPerPixel;
    s_DesktopWidth = info->current_w > 0 ? info->current_w : kVirtualScreenWidth;
    s_DesktopHeight = info->current_h > 0 ? info->current_h : kVirtualScreenHeight;

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

    // Full screen is reached from the window, as Alt+Enter does: the classic SDL 1.2 asked
    // for full screen as its first mode (X11, a window manager running) often showed only
    // black, its full-screen window over the GL one, where the toggle never did.
    if (!SetMode(false) || (fullscreen && !SetMode(true)))
        return FailVideo("Video mode set failed: ");
    SDL_WM_SetCaption(caption, nullptr);
    s_HasScreen = true;
    return true;
}

bool SetFullScreen(bool fullscreen)
{
    if (!s_HasScreen)
        return false;
    if (fullscreen == s_FullScreen)
        return true;
    if (SetMode(fullscreen))
        return true;
    // The other mode is refused: the one the game had is asked for again.
    tarn::Log(tarn::ELogStream::Error,
              std::string(fullscreen ? "Full screen failed: " : "Window failed: ") +
                  SDL_GetError());
    if (!SetMode(!fullscreen))
    {
        s_HasScreen = FailVideo("Video mode set failed: ");
        s_Lost = true;
    }
    return s_HasScreen;
}

bool IsFullScreen()
{
    return s_FullScreen;
}

bool IsScreenLost()
{
    return s_Lost;
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
