#pragma once

#include <SDL.h>
#include <cstdint>

struct CTexture;

/// The picture shown before the first gameplay, until a listed key, a left click or five
/// seconds. Lives only for the duration of ShowTitleScreen.
class CTitleScreen
{
public:
    /// Milliseconds clock; SDL_GetTicks in the game, a controlled one in tests.
    using Clock = Uint32 (*)();

    explicit CTitleScreen(Clock clock = SDL_GetTicks);

    /// Clears the window, draws the picture over the whole virtual screen, presents.
    void Draw() const;
    /// Handles every pending event, then the time-out. False as soon as the window is
    /// closed, or lost in a full-screen toggle (the rest of the batch stays unread).
    bool HandleEvents();

    bool Done() const { return m_Done; }

private:
    void Dismiss();

    bool m_Done = false; ///< Dismissed: by input or by the time-out.
    const CTexture* m_Picture;
    uint32_t m_StartTime; ///< Milliseconds at construction and at every dismissal.
    Clock m_Clock;
};

/// Whether the event is a key-down of a dismissing key, a left-button press or any
/// joystick button press.
bool IsDismissingEvent(const SDL_Event& event);
/// Whether the event is a key-down of F11 or of Enter with Alt held: the full-screen
/// toggle, on the title and in play.
bool IsFullScreenToggle(const SDL_Event& event);

/// Shows the title until dismissed: true to go on, false when the window was closed or lost.
/// No frame pacing: it draws as fast as the buffer swap allows.
bool ShowTitleScreen(CTitleScreen::Clock clock = SDL_GetTicks);
