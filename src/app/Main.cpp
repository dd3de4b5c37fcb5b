#include <SDL.h> // on Windows, SDL's entry wrapper calls this main (named SDL_main there)

#include "app/MainLoop.h"

int main(int, char*[])
{
    return RunKorvane();
}
