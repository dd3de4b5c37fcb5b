#include "app/TitleScreen.h"

#include "canvas/Color.h"
#include "render/Quad.h"
#include "render/Texture.h"
#include "render/Video.h"

namespace
{
const char* const kPicture = "data/gfx/title_screen.jpg";
/// The title goes on by itself once strictly more than this has passed, milliseconds.
constexpr uint32_t kTimeoutMs = 5000;
} // namespace

bool IsFullScreenToggle(const SDL_Event& event)
{
    if (event.type != SDL_KEYDOWN)
        return false;
    const SDLKey key = event.key.keysym.sym;
    return key == SDLK_F11 ||
           ((key == SDLK_RETURN || key == SDLK_KP_ENTER) && (event.key.keysym.mod & KMOD_ALT));
}

bool IsDismissingEvent(const SDL_Event& event)
{
    if (event.type == SDL_JOYBUTTONDOWN)
        return true;
    if (event.type == SDL_MOUSEBUTTONDOWN)
        return event.button.button == SDL_BUTTON_LEFT;
    if (event.type != SDL_KEYDOWN)
        return false;
    switch (event.key.keysym.sym)
    {
    case SDLK_RETURN:
    case SDLK_ESCAPE: // only leaves the title; it does not quit here
    case SDLK_SPACE:
    case SDLK_a:
    case SDLK_d:
    case SDLK_s:
    case SDLK_w:
    case SDLK_UP:
    case SDLK_DOWN:
    case SDLK_RIGHT:
    case SDLK_LEFT:
    case SDLK_RSHIFT:
    case SDLK_LSHIFT:
    case SDLK_RCTRL:
    case SDLK_LCTRL:
        return true;
    default:
        return false;
    }
}

CTitleScreen::CTitleScreen(Clock clock)
    : m_Picture(GetTexture(kPicture)), m_StartTime(clock()), m_Clock(clock)
{
}

void CTitleScreen::Draw() const
{
    static const CColor kWhite(1.0f, 1.0f, 1.0f, 1.0f);
    ClearScreen();
    DrawQuad(m_Picture, 0.0f, 0.0f, static_cast<float>(kVirtualScreenWidth),
             static_cast<float>(kVirtualScreenHeight), &kWhite, 0.0f, false);
    SwapScreen();
}

bool CTitleScreen::HandleEvents()
{
    SDL_Event event;
    while (SDL_PollEvent(&event))
    {
        if (event.type == SDL_QUIT)
            return false;
        // Alt+Enter would otherwise also leave the title: Enter does.
        if (IsFullScreenToggle(event))
        {
            if (!SetFullScreen(!IsFullScreen()))
                return false;
        }
        else if (IsDismissingEvent(event))
        {
            Dismiss();
            m_StartTime = m_Clock();
        }
    }
    if (m_Clock() - m_StartTime > kTimeoutMs)
    {
        Dismiss();
        m_StartTime = m_Clock();
    }
    return true;
}

void CTitleScreen::Dismiss()
{
    // A second dismissing input in the same pass only renews the start time.
    if (m_Done)
        return;
    m_Picture = nullptr; // the picture cache owns the texture
    m_Done = true;
}

bool ShowTitleScreen(CTitleScreen::Clock clock)
{
    CTitleScreen title(clock);
    while (!title.Done())
    {
        title.Draw();
        if (!title.HandleEvents())
            return false;
    }
    return true;
}
